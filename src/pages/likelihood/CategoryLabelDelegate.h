// Edits a category label as plain text; the item model checks it.
#pragma once

#include "TextCellDelegate.h"

class CategoryLabelDelegate : public TextCellDelegate
{
    Q_OBJECT

public:
    using TextCellDelegate::TextCellDelegate;
};
