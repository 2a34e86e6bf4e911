// The table of every format the program knows: each name of the window's
// lists with the reader and the writer of its module.
#pragma once

#include "core/format_table.h"

namespace korvanel {

const FormatTable& builtinFormats();

}  // namespace korvanel
