// Comparing the connectivity of two netlists of any formats. Each is read by
// its format's reader into a private working directory; the comparison works
// on what the readers leave in net.tmp and parts.tmp, so it knows no format.
//
// Nets are matched by their pin sets first, then by name, then by the pins
// they share for the most part, so that a renamed net is reported as renamed
// and a net that gained a pin as changed. Everything runs in time linear in
// the size of the two netlists (hash maps keyed by pin and by net name), but
// for sorting the pins inside each net.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/driver.h"
#include "core/format_table.h"
#include "core/host.h"
#include "core/text.h"

namespace korvanel {

struct NetlistNet {
  Text name;
  std::vector<Text> pins;
};

struct NetlistPart {
  Text reference;
  Text partName;
  Text package;
};

// What a reader read: the nets and parts of net.tmp and parts.tmp.
struct Netlist {
  std::vector<NetlistNet> nets;
  std::vector<NetlistPart> parts;
};

// The nets and parts of the intermediate files in the context's working
// directory.
Netlist loadIntermediateFiles(const ConversionContext& context);

// Reads `arguments.input` with the reader of `format` into a private working
// directory, made for the read and removed after it, and loads what the
// reader left there. The netlist checks, the sort and the pin change do not
// run. The outcome is the driver's, its messages shown through `host`.
RunResult readNetlist(TextView format, const ReaderArguments& arguments, Encoding encoding, Host& host,
                      const FormatTable& formats, Netlist& netlist);

struct ComparisonOptions {
  // Names, references and pins compared without regard to letter case.
  bool ignoreCase = false;
};

// The differences between netlist A and netlist B. Names are given as each
// file spells them; pins of a net in ascending order.
struct NetlistComparison {
  struct RenamedNet {
    Text nameA;
    Text nameB;
    std::vector<Text> pins;
  };
  struct ChangedNet {
    Text nameA;
    Text nameB;
    std::vector<Text> pinsOnlyInA;
    std::vector<Text> pinsOnlyInB;
  };
  struct MovedPin {
    Text pin;
    Text netA;
    Text netB;
  };
  struct ChangedPart {
    Text reference;
    Text partNameA;
    Text partNameB;
    Text packageA;
    Text packageB;
  };

  std::vector<NetlistNet> netsOnlyInA;
  std::vector<NetlistNet> netsOnlyInB;
  std::vector<RenamedNet> renamedNets;
  std::vector<ChangedNet> changedNets;
  std::vector<MovedPin> movedPins;
  std::vector<NetlistPart> partsOnlyInA;
  std::vector<NetlistPart> partsOnlyInB;
  std::vector<ChangedPart> changedParts;
  // Parts are compared only when both netlists hold parts: a format without
  // parts gives none.
  bool partsCompared = true;
  // Packages are compared only when both netlists give packages of their
  // own: a format that carries none gives every part an empty package or its
  // part name as package.
  bool packagesCompared = true;
  // What both netlists hold, for the line that says they are equivalent.
  std::size_t netCount = 0;
  std::size_t partCount = 0;

  bool equivalent() const;
};

NetlistComparison compareNetlists(const Netlist& a, const Netlist& b, const ComparisonOptions& options);

// The comparison as plain text for people: one section per kind of
// difference, in the order of the struct, each headed with its count; empty
// sections left out. Equivalent netlists give one line that says so.
Text comparisonReport(const NetlistComparison& comparison);

}  // namespace korvanel
