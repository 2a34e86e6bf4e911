#include "formats/builtin_formats.h"

#include <utility>

#include "formats/accel.h"
#include "formats/cadlus.h"
#include "formats/cadvance.h"
#include "formats/cr2000.h"
#include "formats/cr5000.h"
#include "formats/csi.h"
#include "formats/d2cad.h"
#include "formats/expedition.h"
#include "formats/future.h"
#include "formats/intergra.h"
#include "formats/kicad.h"
#include "formats/mentor.h"
#include "formats/mmcolmo.h"
#include "formats/mypcb.h"
#include "formats/pads.h"
#include "formats/pcad_nlt.h"
#include "formats/pcad_wrl.h"
#include "formats/protel.h"
#include "formats/sfx.h"
#include "formats/tango.h"
#include "formats/tedax.h"
#include "formats/telesis.h"
#include "formats/wacom.h"

namespace korvanel {
namespace {

// Adapters from the table's uniform call to the modules that take only the
// input or output path.
template <void (*read)(const ConversionContext&, const std::filesystem::path&, Text&)>
void readerOf(const ConversionContext& context, const ReaderArguments& arguments, Text& status) {
  read(context, arguments.input, status);
}
template <void (*write)(const ConversionContext&, const std::filesystem::path&)>
void writerOf(const ConversionContext& context, const WriterArguments& arguments) {
  write(context, arguments.output);
}

// The two-file format takes its parts file beside the netlist.
void readTwoFiles(const ConversionContext& context, const ReaderArguments& arguments, Text& status) {
  mnmmcin(context, arguments.input, arguments.companionPartsFile, status);
}
void writeTwoFiles(const ConversionContext& context, const WriterArguments& arguments) {
  mnmmcout(context, arguments.output, arguments.companionPartsFile);
}

FormatTable makeBuiltinFormats() {
  // Every name of the window's lists; a name whose module is not built yet
  // has no reader or writer and is refused like an unknown name.
  std::vector<FormatEntry> entries = {
      {u"ACCEL", readerOf<mnaccin>, writerOf<mnaccout>, &kAccelLimits},
      {u"ALLEGRO", readerOf<mntelin>, writerOf<mntelout>, &kTelesisLimits},
      {u"CADIX XID", readerOf<mnsfxin>, writerOf<mnsfxout>, &kSfxLimits},
      {u"CADLUS-PC(Reverse Net)", readerOf<mnclpin>},
      {u"CADVANCE", readerOf<mncvain>, writerOf<mncvaout>, &kCadvanceLimits},
      {u"CR2000", readerOf<mncr2in>, writerOf<mncr2out>, &kCr2000Limits},
      {u"CR3000", readerOf<mncr5in>, writerOf<mncr5out>, &kCr5000Limits},
      {u"CR5000", readerOf<mncr5in>, writerOf<mncr5out>, &kCr5000Limits},
      {u"CR5000(PC)", nullptr, writerOf<mncr5pout>, &kCr5000Limits},
      {u"CSi", readerOf<mncsiin>, writerOf<mncsiout>, &kCsiLimits},
      {u"D2 CAD", readerOf<mnd2cin>, writerOf<mnd2cout>, &kD2CadLimits},
      {u"Expedition PCB", readerOf<mnexpin>, writerOf<mnexpout>, &kExpeditionLimits},
      {u"FUTURE", readerOf<mnfutin>},
      {u"INTERGRA", readerOf<mnintin>},
      {u"MM-COLMO_NEO & MM2", readTwoFiles, writeTwoFiles, &kMmColmoLimits, true},
      {u"MENTOR", readerOf<mnmetin>, writerOf<mnmetout>, &kMentorLimits},
      {u"MYPCB", readerOf<mnmypin>, writerOf<mnmypout>, &kMypcbLimits},
      {u"OHM-3", readerOf<mnsfxin>, writerOf<mnsfxout>, &kSfxLimits},
      {u"PADS2000", readerOf<mnpa2in>, writerOf<mnpa2out>, &kPads2000Limits},
      {u"PADSPCB", readerOf<mnpapin>, writerOf<mnpapout>, &kPadsPcbLimits},
      {u"Pcad(nlt)", readerOf<mnpnlin>, writerOf<mnpnlout>, &kPcadNltLimits},
      {u"Pcad(wrl)", readerOf<mnpwrin>, writerOf<mnpwrout>, &kPcadWrlLimits},
      {u"PROTEL", readerOf<mnproin>, writerOf<mnproout>, &kProtelLimits},
      {u"PROTEL2", readerOf<mnpr2in>},
      {u"SFX", readerOf<mnsfxin>, writerOf<mnsfxout>, &kSfxLimits},
      {u"TANGO", readerOf<mntanin>, writerOf<mntanout>, &kTangoLimits},
      {u"Telesis", readerOf<mntelin>, writerOf<mntelout>, &kTelesisLimits},
      {u"WACOM SIMPLE NET", readerOf<mnwacin>, writerOf<mnwacout>, &kWacomLimits},
      {u"KiCad", readerOf<mnkicin>, writerOf<mnkicout>, &kKicadLimits},
      {u"tEDAx", readerOf<mntdxin>, writerOf<mntdxout>, &kTedaxLimits},
  };
  // The probe of each reader; the names that share a reader share its probe.
  const std::pair<Reader, Probe> probes[] = {
      {readerOf<mnaccin>, probeAccel},      {readerOf<mntelin>, probeTelesis},  {readerOf<mnsfxin>, probeSfx},
      {readerOf<mnclpin>, probeCadlus},     {readerOf<mncvain>, probeCadvance}, {readerOf<mncr2in>, probeCr2000},
      {readerOf<mncr5in>, probeCr5000},     {readerOf<mncsiin>, probeCsi},      {readerOf<mnd2cin>, probeD2Cad},
      {readerOf<mnexpin>, probeExpedition}, {readerOf<mnfutin>, probeFuture},   {readerOf<mnintin>, probeIntergra},
      {readTwoFiles, probeMmColmo},         {readerOf<mnmetin>, probeMentor},   {readerOf<mnmypin>, probeMypcb},
      {readerOf<mnpa2in>, probePads2000},   {readerOf<mnpapin>, probePadsPcb},  {readerOf<mnpnlin>, probePcadNlt},
      {readerOf<mnpwrin>, probePcadWrl},    {readerOf<mnproin>, probeProtel},   {readerOf<mnpr2in>, probeProtel2},
      {readerOf<mntanin>, probeTango},      {readerOf<mnwacin>, probeWacom},    {readerOf<mnkicin>, probeKicad},
      {readerOf<mntdxin>, probeTedax},
  };
  for (FormatEntry& entry : entries) {
    for (const auto& [reader, probe] : probes) {
      if (entry.reader == reader) entry.probe = probe;
    }
  }
  std::vector<Text> inputNames = {
      u"ACCEL",   u"ALLEGRO",  u"CADIX XID", u"CADLUS-PC(Reverse Net)", u"CADVANCE", u"CR2000",
      u"CR3000",  u"CR5000",   u"CSi",       u"D2 CAD",                 u"Expedition PCB",
      u"FUTURE",  u"INTERGRA", u"MENTOR",    u"MM-COLMO_NEO & MM2",     u"MYPCB",    u"OHM-3",
      u"PADS2000", u"PADSPCB", u"Pcad(wrl)", u"Pcad(nlt)",              u"PROTEL",   u"PROTEL2",
      u"SFX",     u"TANGO",    u"Telesis",   u"WACOM SIMPLE NET",       u"KiCad",    u"tEDAx"};
  std::vector<Text> outputNames = {
      u"ACCEL",  u"ALLEGRO",  u"CADIX XID", u"CADVANCE", u"CR2000",    u"CR3000",
      u"CR5000", u"CR5000(PC)", u"CSi",     u"D2 CAD",   u"Expedition PCB", u"MM-COLMO_NEO & MM2",
      u"MENTOR", u"MYPCB",    u"OHM-3",     u"PADS2000", u"PADSPCB",   u"Pcad(wrl)",
      u"Pcad(nlt)", u"PROTEL", u"SFX",      u"TANGO",    u"Telesis",   u"WACOM SIMPLE NET",
      u"KiCad",  u"tEDAx"};
  return FormatTable(std::move(entries), std::move(inputNames), std::move(outputNames));
}

}  // namespace

const FormatTable& builtinFormats() {
  static const FormatTable table = makeBuiltinFormats();
  return table;
}

}  // namespace korvanel
