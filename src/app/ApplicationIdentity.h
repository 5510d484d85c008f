// The identity under which PELK opens its settings store (organisation
// "ZAV", application "PELK"); the desktop program and its tests set it the
// same way.
#pragma once

namespace pelk {

void setApplicationIdentity();

} // namespace pelk
