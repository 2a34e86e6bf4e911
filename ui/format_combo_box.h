// An editable drop-down list of format names. Only picking an entry from the
// list counts as a pick (activated); typed text stays exactly as typed: it is
// neither completed nor matched to an entry, and Return does not pick.
#pragma once

#include <QComboBox>
#include <vector>

#include "core/text.h"

namespace korvanel::ui {

class FormatComboBox : public QComboBox {
  Q_OBJECT

 public:
  // The names in their order, with nothing selected.
  FormatComboBox(const std::vector<Text>& names, QWidget* parent);

 protected:
  // The wheel scrolls the window's area, not the closed list: a format name
  // changes only when the user picks or types it.
  void wheelEvent(QWheelEvent* event) override;
};

}  // namespace korvanel::ui
