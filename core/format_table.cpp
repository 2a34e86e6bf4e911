#include "core/format_table.h"

#include <algorithm>

#include "formats/telesis.h"

namespace korvanel {
namespace {

// Adapters from the table's uniform call to each module's own arguments.
void readTelesis(const ConversionContext& context, const ReaderArguments& arguments, Text& status) {
  mntelin(context, arguments.input, status);
}
void writeTelesis(const ConversionContext& context, const WriterArguments& arguments) {
  mntelout(context, arguments.output);
}

FormatTable makeBuiltinFormats() {
  // Every name of the window's lists; a name whose module is not built yet
  // has no reader or writer and is refused like an unknown name.
  std::vector<FormatEntry> entries = {
      {u"ACCEL"},
      {u"ALLEGRO", readTelesis, writeTelesis},
      {u"CADIX XID"},
      {u"CADLUS-PC(Reverse Net)"},
      {u"CADVANCE"},
      {u"CR2000"},
      {u"CR3000"},
      {u"CR5000"},
      {u"CR5000(PC)"},
      {u"CSi"},
      {u"D2 CAD"},
      {u"Expedition PCB"},
      {u"FUTURE"},
      {u"INTERGRA"},
      {u"MM-COLMO_NEO & MM2"},
      {u"MENTOR"},
      {u"MYPCB"},
      {u"OHM-3"},
      {u"PADS2000"},
      {u"PADSPCB"},
      {u"Pcad(nlt)"},
      {u"Pcad(wrl)"},
      {u"PROTEL"},
      {u"PROTEL2"},
      {u"SFX"},
      {u"TANGO"},
      {u"Telesis", readTelesis, writeTelesis},
      {u"WACOM SIMPLE NET"},
  };
  std::vector<Text> inputNames = {
      u"ACCEL",   u"ALLEGRO",  u"CADIX XID", u"CADLUS-PC(Reverse Net)", u"CADVANCE", u"CR2000",
      u"CR3000",  u"CR5000",   u"CSi",       u"D2 CAD",                 u"Expedition PCB",
      u"FUTURE",  u"INTERGRA", u"MENTOR",    u"MM-COLMO_NEO & MM2",     u"MYPCB",    u"OHM-3",
      u"PADS2000", u"PADSPCB", u"Pcad(wrl)", u"Pcad(nlt)",              u"PROTEL",   u"PROTEL2",
      u"SFX",     u"TANGO",    u"Telesis",   u"WACOM SIMPLE NET"};
  std::vector<Text> outputNames = {
      u"ACCEL",  u"ALLEGRO",  u"CADIX XID", u"CADVANCE", u"CR2000",    u"CR3000",
      u"CR5000", u"CR5000(PC)", u"CSi",     u"D2 CAD",   u"Expedition PCB", u"MM-COLMO_NEO & MM2",
      u"MENTOR", u"MYPCB",    u"OHM-3",     u"PADS2000", u"PADSPCB",   u"Pcad(wrl)",
      u"Pcad(nlt)", u"PROTEL", u"SFX",      u"TANGO",    u"Telesis",   u"WACOM SIMPLE NET"};
  return FormatTable(std::move(entries), std::move(inputNames), std::move(outputNames));
}

}  // namespace

const FormatEntry* FormatTable::find(TextView name) const {
  const auto found =
      std::find_if(entries_.begin(), entries_.end(), [&](const FormatEntry& entry) { return entry.name == name; });
  return found == entries_.end() ? nullptr : &*found;
}

Reader FormatTable::findReader(TextView name) const {
  const FormatEntry* entry = find(name);
  return entry ? entry->reader : nullptr;
}

Writer FormatTable::findWriter(TextView name) const {
  const FormatEntry* entry = find(name);
  return entry ? entry->writer : nullptr;
}

const FormatTable& builtinFormats() {
  static const FormatTable table = makeBuiltinFormats();
  return table;
}

}  // namespace korvanel
