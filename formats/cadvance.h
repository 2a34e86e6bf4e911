// CADVANCE netlist: a brace-structured text. After a comment block and
// "$NET_LIST [ MM ] {" come a "comp {" block of part lines
// (reference [package]={part name, further values};) and a "nets{" block of
// net entries (name ={pins};) that may run over several lines, each pin
// written reference-pin (U1    - 7).
#pragma once

#include <filesystem>

#include "core/context.h"

namespace korvanel {

void mncvain(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mncvaout(const ConversionContext& context, const std::filesystem::path& output);

}  // namespace korvanel
