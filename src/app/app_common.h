// Small pieces every window of the program shares: its name, the dialog font,
// message boxes, and the conversion between the core's UTF-8 and QString.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "window/field_marks.h"
#include "window/menu_model.h"
#include "window/message.h"

class QLabel;
class QLineEdit;
class QMenu;
class QWidget;

namespace vrellix {

// The program's name: the application name and the caption of every message box.
extern const char* const kAppName;

// Registers the icons and other resources of the window library (a static
// library's resources are not registered on their own).
void InitGuiResources();

// The program icon in every size it is drawn in.
QIcon ProgramIcon();

enum class DialogSize { kFixed, kResizable };

// Gives a dialog built from a template its font ("ＭＳ Ｐゴシック" 9 pt, or an
// installed Japanese UI font in its place) and a caption bar with only the
// close box; its template size is its fixed or its smallest size.
void PrepareDialog(QWidget* dialog, DialogSize sizing);
inline void PrepareFixedDialog(QWidget* dialog) { PrepareDialog(dialog, DialogSize::kFixed); }

// Installs Qt's own Japanese translations (the standard buttons and dialogs),
// whatever the system's language: every text of the program is Japanese.
// False when they are not installed.
bool LoadJapaneseTranslations();

// The fixed-width Japanese font of the edit fields and the track list, in which
// a full-width character is as wide as two half-width ones ("ＡＢＣ" / "ABC").
QFont FixedWidthFont();

// Draws marks on an edit field and its count label: the count (red when over
// the limit), the characters at fault in red with a wavy underline, the tip as
// the field's tooltip.
void ShowFieldMarks(QLineEdit* edit, QLabel* count, const FieldMarks& marks);

// Shows the message in a modal box captioned with the program's name and
// returns the button that closed it.
Answer ShowMessage(QWidget* parent, const Message& message);

// Message boxes over a widget, for the logic that asks through a MessageView.
class WidgetMessages final : public MessageView {
 public:
  explicit WidgetMessages(QWidget* parent) : m_pParent(parent) {}
  Answer ShowMessage(const Message& message) override;

 private:
  QWidget* m_pParent;
};

// Draws the items at the end of menu; choosing one runs its action.
void AddMenuItems(QMenu& menu, const Menu& items);

// The edit field's own context menu (undo, cut, paste...) with the items that
// items() gives when it opens, after a separator (none when it gives none).
void ExtendContextMenu(QLineEdit* edit, std::function<Menu()> items);

// Replaces the whole text as typing over it would, so that undo brings the old one back.
void ReplaceTextUndoably(QLineEdit* edit, const QString& text);

inline QString ToQString(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size())); }
inline std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// Swallows key presses of Enter before any widget of a dialog sees them, so
// that a stray Enter presses no button.
class EnterKeyFilter final : public QObject {
 public:
  explicit EnterKeyFilter(QWidget* dialog);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vrellix
