#pragma once

#include <QString>

namespace oxa {

// The path the program was started by, links not resolved: a copy or link under another name brands
// the program by that name and has its own settings file.
QString invokedExecutablePath(const char *argv0);

} // namespace oxa
