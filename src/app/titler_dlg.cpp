#include "app/titler_dlg.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "app/about_dlg.h"
#include "app/app_common.h"
#include "app/entry_progress_dlg.h"
#include "app/file_dialogs.h"
#include "app/port_settings_dlg.h"
#include "app/reading_choice_dlg.h"
#include "app/simulator_dump_dlg.h"
#include "app/system_menu.h"
#include "app/track_edit_dlg.h"
#include "messages/messages.h"
#include "ui_titler_dlg.h"

namespace vrellix {

namespace {

// The "No" column (with the check boxes) takes the list's width less the two
// text columns and room for the vertical scroll bar.
constexpr int kTextColumnsAndScrollBar = 326;
constexpr int kTextColumnWidth = 155;

}  // namespace

CTitlerDlg::CTitlerDlg(CEntryProgressDlg& progress, const TitlerOptions& options, FileNameSource* files,
                       QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::CTitlerDlgUi>()),
      m_pFiles(files),
      m_logic(*this, progress.Logic(), options) {
  m_ui->setupUi(this);
  PrepareDialog(this, DialogSize::kResizable);
  m_templateSize = size();
  m_listGeometry = m_ui->tracks->geometry();
  m_buttonTop = m_ui->loadCsv->y();
  m_linkTop = m_ui->link->y();
  setWindowIcon(ProgramIcon());
  if (!m_pFiles) {
    m_pOwnFiles = std::make_unique<DialogFileNameSource>();
    m_pFiles = m_pOwnFiles.get();
  }

  connect(m_ui->ok, &QPushButton::clicked, this, &CTitlerDlg::accept);
  connect(m_ui->loadCsv, &QPushButton::clicked, this, [this]() { m_logic.OnLoadCsv(); });
  connect(m_ui->saveCsv, &QPushButton::clicked, this, [this]() { m_logic.OnSaveCsv(); });
  connect(m_ui->start, &QPushButton::clicked, this, [this]() { m_logic.OnStart(); });
  connect(m_ui->tracks, &QTableWidget::cellClicked, this,
          [this](int row, int column) { m_logic.OnTrackCellClicked(row, column); });
  for (TextField field : {TextField::kTitle, TextField::kYomi, TextField::kArtist}) {
    Edit(field)->setFont(FixedWidthFont());
    connect(Edit(field), &QLineEdit::textChanged, this, [this, field]() { m_logic.OnTextChanged(field); });
    ExtendContextMenu(Edit(field), [this, field]() { return m_logic.FieldMenu(field); });
    Edit(field)->installEventFilter(this);
  }
  m_ui->tracks->setFont(FixedWidthFont());
  m_ui->tracks->installEventFilter(this);

  // The dialog's background, seen through the transparent static texts, in the
  // program's colour. Edit fields, the list and the buttons paint with the Base
  // and Button roles, so they keep the system's colours.
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(kWindowBackground.red, kWindowBackground.green, kWindowBackground.blue));
  setPalette(background);
  setAutoFillBackground(true);

  // Windows lets a program add to the system menu; the window's menu has the
  // same items everywhere.
  if (kHasAppSystemMenu) {
    m_systemMenu = m_logic.SystemMenu();
    if (!AddToSystemMenu(static_cast<std::uintptr_t>(winId()), m_systemMenu)) m_systemMenu.clear();
  }
  BuildTrackList();
  // Check marks change the row's marks; changes of the text columns come
  // through the logic itself.
  connect(m_ui->tracks, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() == 0) m_logic.OnTrackChecked(item->row());
  });
  m_logic.OnInitDialog();
}

CTitlerDlg::~CTitlerDlg() = default;

void CTitlerDlg::BuildTrackList() {
  QTableWidget* list = m_ui->tracks;
  list->clear();
  list->setColumnCount(3);
  list->setRowCount(kTrackCount);
  list->setHorizontalHeaderLabels({ToQString(messages::kTrackListNumber), ToQString(messages::kTrackListName),
                                   ToQString(messages::kTrackListYomi)});
  list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  list->horizontalHeader()->setHighlightSections(false);
  list->verticalHeader()->setVisible(false);
  list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
  list->horizontalHeader()->setFixedHeight(list->fontMetrics().height() + 6);

  // The client area before any row exists, that is without the scroll bar.
  const int clientWidth = list->width() - 2 * list->frameWidth();
  list->setColumnWidth(0, clientWidth - kTextColumnsAndScrollBar);
  list->setColumnWidth(1, kTextColumnWidth);
  list->setColumnWidth(2, kTextColumnWidth);

  for (int row = 0; row < kTrackCount; ++row) {
    auto* number = new QTableWidgetItem(QString::number(row + 1));
    number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    number->setCheckState(Qt::Unchecked);
    list->setItem(row, 0, number);
    for (int column = 1; column <= 2; ++column) {
      auto* text = new QTableWidgetItem();
      text->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      list->setItem(row, column, text);
    }
  }
  list->setShowGrid(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setWordWrap(false);
  // Tab leaves the list for the next control, as in any dialog.
  list->setTabKeyNavigation(false);
}

QTableWidgetItem* CTitlerDlg::Cell(int row, int column) const { return m_ui->tracks->item(row, column); }

QLineEdit* CTitlerDlg::Edit(TextField field) const {
  switch (field) {
    case TextField::kTitle: return m_ui->title;
    case TextField::kYomi: return m_ui->yomi;
    case TextField::kArtist: return m_ui->artist;
  }
  return m_ui->title;
}

std::string CTitlerDlg::Text(TextField field) const { return ToUtf8(Edit(field)->text()); }

void CTitlerDlg::SetText(TextField field, const std::string& text) { Edit(field)->setText(ToQString(text)); }

void CTitlerDlg::ReplaceText(TextField field, const std::string& text) { ReplaceTextUndoably(Edit(field), ToQString(text)); }

void CTitlerDlg::ShowFieldMarks(TextField field, const FieldMarks& marks) {
  QLabel* count = field == TextField::kTitle ? m_ui->titleCount : field == TextField::kYomi ? m_ui->yomiCount : m_ui->artistCount;
  vrellix::ShowFieldMarks(Edit(field), count, marks);
}

void CTitlerDlg::FocusText(TextField field) { Edit(field)->setFocus(); }

void CTitlerDlg::SelectText(TextField field) {
  Edit(field)->setFocus();
  Edit(field)->selectAll();
}

void CTitlerDlg::FocusNextControl() { focusNextChild(); }

int CTitlerDlg::CurrentTrack() const { return m_ui->tracks->currentRow(); }

void CTitlerDlg::FocusTrack(int row, TrackColumn column) {
  QTableWidget* list = m_ui->tracks;
  list->setCurrentCell(row, static_cast<int>(column));
  list->scrollToItem(Cell(row, static_cast<int>(column)));
  list->setFocus();
}

std::string CTitlerDlg::CellText(int row, TrackColumn column) const {
  return ToUtf8(Cell(row, static_cast<int>(column))->text());
}

void CTitlerDlg::SetCellText(int row, TrackColumn column, const std::string& text) {
  Cell(row, static_cast<int>(column))->setText(ToQString(text));
}

bool CTitlerDlg::IsChecked(int row) const { return Cell(row, 0)->checkState() == Qt::Checked; }

void CTitlerDlg::SetChecked(int row, bool checked) { Cell(row, 0)->setCheckState(checked ? Qt::Checked : Qt::Unchecked); }

void CTitlerDlg::MarkTrack(int row, const std::string& tip) {
  const bool fault = !tip.empty();
  QTableWidgetItem* number = Cell(row, 0);
  number->setText(ToQString(messages::TrackNumber(row + 1, fault)));
  // No brush at all when unmarked: the list's own colour.
  number->setData(Qt::ForegroundRole, fault ? QVariant(QBrush(Qt::red)) : QVariant());
  for (int column = 0; column <= 2; ++column) Cell(row, column)->setToolTip(ToQString(tip));
}

void CTitlerDlg::EnableControl(Control control, bool enabled) {
  switch (control) {
    case Control::kLoad: m_ui->loadCsv->setEnabled(enabled); break;
    case Control::kSave: m_ui->saveCsv->setEnabled(enabled); break;
    case Control::kStart: m_ui->start->setEnabled(enabled); break;
    case Control::kExit: m_ui->ok->setEnabled(enabled); break;
  }
}

void CTitlerDlg::SetCaption(const std::string& text) { setWindowTitle(ToQString(text)); }

void CTitlerDlg::SetLinkText(const std::string& text) { m_ui->link->setText(ToQString(text)); }

std::optional<std::string> CTitlerDlg::AskFileName(FileQuestion question, const std::string& proposed) {
  const QString last = ToQString(proposed);
  std::optional<QString> name;
  switch (question) {
    case FileQuestion::kOpenAlbum: name = m_pFiles->OpenFileName(this, last); break;
    case FileQuestion::kSaveAlbum: name = m_pFiles->SaveFileName(this, last); break;
    case FileQuestion::kOpenCueSheet: name = m_pFiles->OpenCueSheetName(this, last); break;
  }
  // The core takes file names in UTF-8 on every platform.
  if (!name) return std::nullopt;
  return ToUtf8(*name);
}

bool CTitlerDlg::EditTrack(TrackEdit& edit) {
  CTrackEditDlg dialog(edit, &m_logic.Readings(), this);
  return dialog.exec() == QDialog::Accepted;
}

bool CTitlerDlg::EditPortSettings(PortSettingsEdit& edit) {
  CPortSettingsDlg dialog(edit, this);
  return dialog.exec() == QDialog::Accepted;
}

bool CTitlerDlg::ChooseReadings(ReadingChoices& choices) {
  CReadingChoiceDlg dialog(choices, this);
  return dialog.exec() == QDialog::Accepted;
}

void CTitlerDlg::ShowSimulatorDump(const std::string& verdict, const std::string& dump) {
  CSimulatorDumpDlg dialog(verdict, dump, this);
  dialog.exec();
}

void CTitlerDlg::ShowAbout() {
  CAboutDlg about(this);
  about.exec();
}

Answer CTitlerDlg::ShowMessage(const Message& message) { return vrellix::ShowMessage(this, message); }

void CTitlerDlg::accept() {
  if (m_logic.OnExit()) QDialog::accept();
}

void CTitlerDlg::reject() {
  if (m_logic.OnCancel()) QDialog::reject();
}

void CTitlerDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (!m_templateSize.isValid()) return;  // before the layout was taken
  const QSize grown = size() - m_templateSize;
  m_ui->tracks->setGeometry(m_listGeometry.adjusted(0, 0, grown.width(), grown.height()));
  // The buttons' places in the template, moved down by what the window grew.
  const int buttonTop = m_buttonTop + grown.height();
  for (QPushButton* button : {m_ui->loadCsv, m_ui->saveCsv, m_ui->start, m_ui->ok}) button->move(button->x(), buttonTop);
  m_ui->link->move(m_ui->link->x(), m_linkTop + grown.height());
  m_ui->link->resize(m_listGeometry.width() + grown.width(), m_ui->link->height());
}

void CTitlerDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_shown) return;
  m_shown = true;
  // After the window has been drawn, so that a box comes centred over it.
  QTimer::singleShot(0, this, [this]() { m_logic.OnWindowShown(); });
}

bool CTitlerDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if (!enter && key != Qt::Key_F2) return QDialog::eventFilter(watched, event);
  const KeyPlace place = watched == m_ui->tracks ? KeyPlace::kTrackList : KeyPlace::kTextField;
  return m_logic.OnKey(enter ? Key::kEnter : Key::kEdit, place) || QDialog::eventFilter(watched, event);
}

bool CTitlerDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
  if (RunMenuItem(m_systemMenu, ChosenSystemMenuItem(message))) {
    *result = 0;
    return true;
  }
  return QDialog::nativeEvent(eventType, message, result);
}

void CTitlerDlg::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  AddMenuItems(menu, m_logic.WindowMenu());
  menu.exec(event->globalPos());
}

}  // namespace vrellix
