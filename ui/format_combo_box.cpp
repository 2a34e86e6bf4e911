#include "ui/format_combo_box.h"

#include <QLineEdit>
#include <QWheelEvent>

#include "ui/window_texts.h"

namespace korvanel::ui {

FormatComboBox::FormatComboBox(const std::vector<Text>& names, QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  setMaxVisibleItems(static_cast<int>(names.size()));
  for (const Text& name : names) addItem(toQString(name));
  setCurrentIndex(-1);
  clearEditText();
  // Qt would turn Return and the end of an edit into a pick of the entry that
  // matches the typed text, ignoring letter case; a typed name is a typed
  // name here, and the format names are told apart by their exact text.
  disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
  disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
}

void FormatComboBox::wheelEvent(QWheelEvent* event) { event->ignore(); }

}  // namespace korvanel::ui
