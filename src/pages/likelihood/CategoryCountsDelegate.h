// Edits a category's observed count as plain text; the item model takes
// only a whole number of at least 0.
#pragma once

#include "TextCellDelegate.h"

class CategoryCountsDelegate : public TextCellDelegate
{
    Q_OBJECT

public:
    using TextCellDelegate::TextCellDelegate;
};
