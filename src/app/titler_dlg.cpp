#include "app/titler_dlg.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QTableWidget>

#include "album/album_csv.h"
#include "app/about_dlg.h"
#include "app/app_common.h"
#include "app/entry_progress_dlg.h"
#include "app/file_dialogs.h"
#include "app/simulator_dump_dlg.h"
#include "app/system_menu.h"
#include "app/track_edit_dlg.h"
#include "entry/entry_engine.h"
#include "job/entry_job.h"
#include "link/clock.h"
#include "link/key_link.h"
#include "link/virtual_clock.h"
#include "messages/messages.h"
#include "sim/simulated_device.h"
#include "sim/simulated_run.h"
#include "text/trim.h"
#include "ui_titler_dlg.h"
#include "validate/input_checks.h"

namespace vrellix {

CommHandle g_hComm = nullptr;

namespace {

const QColor kBackground(162, 188, 189);

// The "No" column (with the check boxes) takes the list's width less the two
// text columns and room for the vertical scroll bar.
constexpr int kTextColumnsAndScrollBar = 326;
constexpr int kTextColumnWidth = 155;

using messages::kAboutItem;

// The core takes file names in UTF-8 on every platform.
std::string FilePath(const QString& name) { return ToUtf8(name); }

}  // namespace

CTitlerDlg::CTitlerDlg(const TitlerOptions& options, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CTitlerDlgUi>()), m_options(options) {
  m_ui->setupUi(this);
  PrepareFixedDialog(this);
  setWindowIcon(ProgramIcon());

  m_pFiles = options.files;
  if (!m_pFiles) {
    m_pOwnFiles = std::make_unique<DialogFileNameSource>();
    m_pFiles = m_pOwnFiles.get();
  }

  connect(m_ui->ctl1, &QPushButton::clicked, this, &CTitlerDlg::accept);
  connect(m_ui->ctl1000, &QPushButton::clicked, this, &CTitlerDlg::OnLoadCsv);
  connect(m_ui->ctl1001, &QPushButton::clicked, this, &CTitlerDlg::OnSaveCsv);
  connect(m_ui->ctl1002, &QPushButton::clicked, this, &CTitlerDlg::OnStart);
  connect(m_ui->ctl1006, &QTableWidget::cellClicked, this, &CTitlerDlg::OnTrackCellClicked);

  OnInitDialog();
}

CTitlerDlg::~CTitlerDlg() {
  if (m_pInputJob && !m_pInputJob->m_bThreadStopped) m_pInputJob->StopInputThread();
  m_pInputJob.reset();
  m_pEngine.reset();
  m_pLink.reset();
  // Closes the port.
  m_pChannel.reset();
  g_hComm = nullptr;
}

void CTitlerDlg::OnInitDialog() {
  // The dialog's background, seen through the transparent static texts, in the
  // program's colour. Edit fields, the list and the buttons paint with the Base
  // and Button roles, so they keep the system's colours.
  QPalette background = palette();
  background.setColor(QPalette::Window, kBackground);
  setPalette(background);
  setAutoFillBackground(true);

  if (!m_options.clock) {
    if (m_options.simulate) {
      m_pOwnClock = std::make_unique<VirtualClock>();
    } else {
      m_pOwnClock = std::make_unique<SystemClock>();
    }
    m_pClock = m_pOwnClock.get();
  } else {
    m_pClock = m_options.clock;
  }

  if (kHasAppSystemMenu)
    m_bAboutInSystemMenu = AddAboutToSystemMenu(static_cast<std::uintptr_t>(winId()), kAboutItem);

  m_strSettingsPath = SettingsPath();
  BuildTrackList();
  // The values read are used even when they could not be written back.
  if (!LoadIniSettings(m_strSettingsPath, m_settings))
    ShowMessage(this, SettingsWriteFailureMessage(m_strSettingsPath), QMessageBox::Warning);

  if (!OpenLink()) {
    ShowMessage(this, PortFailureMessage(m_settings, m_portFailure), QMessageBox::Critical);
    m_ui->ctl1000->setEnabled(false);
    m_ui->ctl1001->setEnabled(false);
    m_ui->ctl1002->setEnabled(false);
  }
  LoadTexts();
}

bool CTitlerDlg::OpenLink() {
  g_hComm = nullptr;
  if (m_options.simulate) {
    // Its replies are timed by the job's clock.
    auto device = std::make_unique<sim::SimulatedDevice>(sim::SimulatorOptions{}, m_pClock);
    m_pSimulator = device.get();
    m_pChannel = std::move(device);
  } else {
    std::unique_ptr<SerialChannel> port = OpenTransmitterPort(PortDeviceName(m_settings), &m_portFailure);
    if (!port) return false;
    g_hComm = port->Handle();
    m_pChannel = std::move(port);
  }
  m_pLink = std::make_unique<KeyLink>(*m_pChannel, *m_pClock, m_hStopEvent, m_settings.m_nCommandDelay);
  m_pEngine = std::make_unique<EntryEngine>(*m_pLink);
  m_pInputJob = std::make_unique<EntryJob>(*m_pEngine, *g_dlgProgress);
  return true;
}

void CTitlerDlg::BuildTrackList() {
  QTableWidget* list = m_ui->ctl1006;
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

void CTitlerDlg::SaveTexts() {
  m_strTitle = ToUtf8(m_ui->ctl1003->text());
  m_strArtist = ToUtf8(m_ui->ctl1007->text());
  m_strYomi = ToUtf8(m_ui->ctl1004->text());
}

void CTitlerDlg::LoadTexts() {
  m_ui->ctl1003->setText(ToQString(m_strTitle));
  m_ui->ctl1007->setText(ToQString(m_strArtist));
  m_ui->ctl1004->setText(ToQString(m_strYomi));
}

EditedAlbum CTitlerDlg::CollectAlbum() {
  SaveTexts();
  EditedAlbum album;
  album.title = m_strTitle;
  album.yomi = m_strYomi;
  album.artist = m_strArtist;
  const QTableWidget* list = m_ui->ctl1006;
  for (int row = 0; row < kTrackCount; ++row) {
    album.rows[row].name = ToUtf8(list->item(row, 1)->text());
    album.rows[row].yomi = ToUtf8(list->item(row, 2)->text());
    album.rows[row].checked = list->item(row, 0)->checkState() == Qt::Checked;
  }
  return album;
}

void CTitlerDlg::ApplyAlbum(const EditedAlbum& album) {
  m_strTitle = album.title;
  m_strYomi = album.yomi;
  m_strArtist = album.artist;
  QTableWidget* list = m_ui->ctl1006;
  for (int row = 0; row < kTrackCount; ++row) {
    list->item(row, 1)->setText(ToQString(album.rows[row].name));
    list->item(row, 2)->setText(ToQString(album.rows[row].yomi));
    list->item(row, 0)->setCheckState(album.rows[row].checked ? Qt::Checked : Qt::Unchecked);
  }
  LoadTexts();
}

bool CTitlerDlg::IsJobIdle() const { return !m_pInputJob || m_pInputJob->m_bThreadStopped; }

void CTitlerDlg::accept() {
  if (ShowMessage(this, messages::kExitQuestion, QMessageBox::Information,
                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return;
  SaveTexts();
  QDialog::accept();
}

bool CTitlerDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
  if (IsAboutSystemCommand(message)) {
    OnAbout();
    *result = 0;
    return true;
  }
  return QDialog::nativeEvent(eventType, message, result);
}

void CTitlerDlg::contextMenuEvent(QContextMenuEvent* event) {
  if (m_bAboutInSystemMenu) {
    QDialog::contextMenuEvent(event);
    return;
  }
  QMenu menu(this);
  menu.addAction(ToQString(kAboutItem), this, &CTitlerDlg::OnAbout);
  menu.exec(event->globalPos());
}

void CTitlerDlg::OnAbout() {
  CAboutDlg about(this);
  about.exec();
}

void CTitlerDlg::OnTrackCellClicked(int row, int column) {
  SaveTexts();
  // The number column holds the check box: a click there only toggles it.
  if (row < 0 || row >= kTrackCount || column < 1 || column > 2) return;
  QTableWidget* list = m_ui->ctl1006;
  CTrackEditDlg edit(this);
  edit.m_strNumber = std::to_string(row + 1);
  edit.m_strName = ToUtf8(list->item(row, 1)->text());
  edit.m_strYomi = ToUtf8(list->item(row, 2)->text());
  if (edit.DoModal() != QDialog::Accepted) return;
  const std::string name = TrimWhite(edit.m_strName);
  list->item(row, 1)->setText(ToQString(name));
  list->item(row, 2)->setText(ToQString(TrimWhite(edit.m_strYomi)));
  list->item(row, 0)->setCheckState(name.empty() ? Qt::Unchecked : Qt::Checked);
  LoadTexts();
}

void CTitlerDlg::OnLoadCsv() {
  const auto name = m_pFiles->OpenFileName(this);
  if (!name) return;
  // The core replaces the album only when the whole file was read.
  EditedAlbum album = CollectAlbum();
  const CsvResult result = LoadAlbumCsv(FilePath(*name), album, CountUnenterable);
  if (!result.ok) {
    ShowMessage(this, result.message, QMessageBox::Warning);
    return;
  }
  ApplyAlbum(album);
}

void CTitlerDlg::OnSaveCsv() {
  const EditedAlbum album = CollectAlbum();
  const auto name = m_pFiles->SaveFileName(this);
  if (!name) return;
  const CsvResult result = SaveAlbumCsv(FilePath(*name), album);
  ShowMessage(this, result.message, result.ok ? QMessageBox::Information : QMessageBox::Warning);
}

void CTitlerDlg::OnStart() {
  StartCheckResult checked = RunStartChecks(CollectAlbum());
  if (checked.outcome == StartCheckResult::kFault) {
    ShowMessage(this, checked.message, QMessageBox::Warning);
    return;
  }
  if (checked.outcome == StartCheckResult::kNothingToEnter) {
    ShowMessage(this, checked.message, QMessageBox::Information);
    return;
  }
  if (ShowMessage(this, messages::kStartQuestion, QMessageBox::Information,
                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return;
  m_album = checked.album;
  RunEntryJob();
}

void CTitlerDlg::RunEntryJob() {
  if (!m_pInputJob) return;
  // The worker reads the check marks from this snapshot, never from the list.
  std::array<bool, kTrackCount> checks{};
  for (int row = 0; row < kTrackCount; ++row)
    checks[row] = m_ui->ctl1006->item(row, 0)->checkState() == Qt::Checked;
  m_pInputJob->SetAlbum(m_album, checks);

  m_pChannel->PurgeInput();
  g_dlgProgress->BeginJob();
  if (!m_pInputJob->StartInputThread()) {
    g_dlgProgress->EndJob();
    ShowMessage(this, messages::kThreadStartFailed, QMessageBox::Critical);
    m_pInputJob->StopInputThread();
    return;
  }
  g_dlgProgress->DoModal();
  m_pInputJob->StopInputThread();
  g_dlgProgress->EndJob();
  if (m_pSimulator) ShowSimulatorDump(checks);
}

void CTitlerDlg::ShowSimulatorDump(const std::array<bool, kTrackCount>& checks) {
  // Judged from what the model recorded in its fields, not by keying again.
  const sim::DeviceModel device = m_pSimulator->Model();
  std::string differing;
  for (const sim::FieldCheck& field : sim::CompareWithAlbum(device, m_album, checks)) {
    if (field.Matches()) continue;
    differing += (differing.empty() ? "" : ", ") + sim::FieldLabel(field);
  }
  std::string verdict = messages::kSimulatorMatches;
  if (!differing.empty()) verdict = messages::kSimulatorDiffers + differing;
  if (!device.Errors().empty()) verdict += std::string("\n") + messages::kSimulatorRefusedKeys;
  CSimulatorDumpDlg dump(verdict, m_pSimulator->Dump(), this);
  dump.exec();
}

}  // namespace vrellix
