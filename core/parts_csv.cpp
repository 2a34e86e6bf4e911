#include "core/passes.h"
#include "core/records.h"

namespace korvanel {

void mprtcsv(const ConversionContext& context, const std::filesystem::path& csvFile) {
  Text output = u"部品名称,リファレンス番号,その他情報,";
  output += kCrLf;
  output += kCrLf;
  PartRecord record;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(record, line);
    output += record.get(kPartName);
    output += u',';
    output += record.get(kReference);
    output += u',';
    output += record.get(kOtherInformation);
    output += u',';
    output += record.get(kAdditionalText);
    output += kCrLf;
  }
  writeWholeFile(csvFile, output, context.encoding);
}

}  // namespace korvanel
