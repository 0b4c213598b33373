#include "desktop/channels/CDlgEditChannel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>
#include <memory>

#include "channels/ChannelColumnSet.h"
#include "channels/ChannelPlanFile.h"
#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/OperationRunner.h"
#include "desktop/Prompt.h"
#include "desktop/StatusReport.h"
#include "desktop/channels/CComboListCtrl.h"
#include "desktop/channels/ChannelIcons.h"
#include "operations/PlanTransfer.h"

namespace qm {

namespace {

constexpr int kSlotCount = 5;
// Where a plan read that reports nothing for a while lets the bar creep to.
constexpr int kCreepLimit = 95;

std::string LocalPath(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

// The selection shows as a light band with dark text: a freshly filled grid has every row
// selected and must stay readable.
void UseLightSelection(QWidget* grid) {
    QPalette palette = grid->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(204, 226, 248));
        palette.setColor(group, QPalette::HighlightedText, QColor(0, 0, 0));
    }
    palette.setColor(QPalette::AlternateBase, QColor(246, 248, 252));
    grid->setPalette(palette);
}

} // namespace

CDlgEditChannel::CDlgEditChannel(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_editor(CLevantoApp::Instance().Plans()) {
    setWindowTitle(QString());
    setSizeGripEnabled(true);
    PaintDialogBackground(this);

    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    const struct {
        ButtonId id;
        int text;
        ChannelIcon icon;
    } shown[] = {{kUpload, txt::kUpload, ChannelIcon::Upload},
                 {kDownload, txt::kDownload, ChannelIcon::Download},
                 {kOpen, txt::kOpen, ChannelIcon::Open},
                 {kSave, txt::kSave, ChannelIcon::Save}};
    for (const auto& b : shown) {
        QPushButton* button = AddButton(b.id, Text(b.text));
        button->setIcon(MakeChannelIcon(b.icon));
        button->setIconSize(QSize(22, 22));
        button->setMinimumSize(104, 34);
        top->addWidget(button);
    }
    const std::pair<ButtonId, int> tools[] = {{kCopy, txt::kCopy},
                                              {kPaste, txt::kPaste},
                                              {kInsert, txt::kInsert},
                                              {kDelete, txt::kDelete},
                                              {kOrder, txt::kOrder}};
    for (const auto& [id, caption] : tools) {
        QPushButton* button = AddButton(id, Text(caption));
        button->setMinimumSize(72, 34);
        top->addWidget(button);
    }
    top->addStretch(1);

    m_slots = new QComboBox(this);
    for (int slot = 0; slot < kSlotCount; ++slot)
        m_slots->addItem(QString(QChar('A' + slot)));
    m_slots->setCurrentIndex(0);
    m_slots->setMinimumWidth(90);
    m_slots->setMinimumHeight(30);
    top->addWidget(m_slots);

    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(14);
    QSizePolicy keepPlace = m_progress->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true); // the grid keeps its place below the bar
    m_progress->setSizePolicy(keepPlace);
    m_progress->hide();

    m_grid = new CComboListCtrl(this);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 10);
    m_grid->horizontalHeader()->setMinimumHeight(m_grid->fontMetrics().height() + 12);
    UseLightSelection(m_grid);
    m_grid->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addLayout(top);
    layout->addWidget(m_progress);
    layout->addWidget(m_grid, 1);

    connect(Button(kUpload), &QPushButton::clicked, this, &CDlgEditChannel::Upload);
    connect(Button(kDownload), &QPushButton::clicked, this, &CDlgEditChannel::Download);
    connect(Button(kOpen), &QPushButton::clicked, this, &CDlgEditChannel::Open);
    connect(Button(kSave), &QPushButton::clicked, this, &CDlgEditChannel::Save);
    connect(Button(kCopy), &QPushButton::clicked, this, &CDlgEditChannel::CopyRows);
    connect(Button(kPaste), &QPushButton::clicked, this, &CDlgEditChannel::PasteRows);
    connect(Button(kInsert), &QPushButton::clicked, this, &CDlgEditChannel::InsertRow);
    connect(Button(kDelete), &QPushButton::clicked, this, &CDlgEditChannel::DeleteRows);
    connect(Button(kOrder), &QPushButton::clicked, this, &CDlgEditChannel::OrderRows);
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
            &CDlgEditChannel::Undo);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), this), &QShortcut::activated, this,
            &CDlgEditChannel::Redo);
    connect(m_grid, &CComboListCtrl::choicesRequested, this, &CDlgEditChannel::OnChoicesRequested);
    connect(m_grid, &CComboListCtrl::editFinished, this, &CDlgEditChannel::OnEditFinished);
    connect(m_grid, &CComboListCtrl::rowFocused, this,
            [this](int row) { m_editor.SetCurrentRow(static_cast<std::size_t>(row)); });

    m_runner = new OperationRunner(this);
    QList<QWidget*> controls{m_grid, m_slots};
    for (QPushButton* button : m_buttons)
        controls << button;
    m_runner->SetControls(controls);
    m_runner->SetProgress([this](int position, int range) { SetProgress(position, range); });

    m_creep.setInterval(150);
    connect(&m_creep, &QTimer::timeout, this, [this] {
        const int value = m_progress->value();
        if (value < kCreepLimit)
            m_progress->setValue(value + std::max(1, (kCreepLimit - value) / 12));
    });

    // A new editor starts without a plan; the list itself lives on after the dialog.
    m_editor.Reset();
    resize(1000, 640);
    setWindowState(Qt::WindowMaximized);
}

CDlgEditChannel::~CDlgEditChannel() = default;

QPushButton* CDlgEditChannel::AddButton(ButtonId id, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(false); // Enter on the grid ends the dialog, never runs a transfer
    button->setProperty("controlId", static_cast<int>(id));
    m_buttons << button;
    return button;
}

QPushButton* CDlgEditChannel::Button(ButtonId id) const {
    for (QPushButton* button : m_buttons)
        if (button->property("controlId").toInt() == id)
            return button;
    return nullptr;
}

void CDlgEditChannel::ClearGrid() {
    m_grid->EndEdit();
    m_grid->setRowCount(0);
    m_grid->setColumnCount(0);
    m_editor.ClearModel();
}

void CDlgEditChannel::BuildColumns() {
    ClearGrid();
    const std::vector<ChannelColumnInfo> columns =
        ChannelColumnSet(m_editor.Kind(), m_grid->viewport()->width());
    m_grid->setColumnCount(static_cast<int>(columns.size()));
    const QHeaderView* header = m_grid->horizontalHeader();
    const int headerPadding = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const ChannelColumnInfo& column = columns[static_cast<std::size_t>(i)];
        const QString text = QString::fromStdString(column.heading);
        auto* heading = new QTableWidgetItem(text);
        heading->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_grid->setHorizontalHeaderItem(i, heading);
        // The fixed widths were made for a smaller font: a heading is never cut. Kind 0 keeps
        // its equal shares of the client width.
        int width = column.width;
        if (m_editor.Kind() != 0)
            width = std::max(width, header->fontMetrics().horizontalAdvance(text) + headerPadding);
        m_grid->setColumnWidth(i, width);
        switch (column.editor) {
        case CellEditor::DropDown:
            m_grid->AddComboColumn(i);
            break;
        case CellEditor::ReadOnly:
            m_grid->AddReadOnlyColumn(i);
            break;
        case CellEditor::Text:
            m_grid->SetValidChars(i, QString::fromStdString(column.validChars));
            break;
        }
    }
}

void CDlgEditChannel::FillGrid() {
    m_editor.FillModel();
    const CChannelGridModel& model = m_editor.Model();
    m_grid->EndEdit();
    const int rows = static_cast<int>(model.RowCount());
    const int columns = std::min(model.ColumnCount(), m_grid->columnCount());
    m_grid->setRowCount(0);
    m_grid->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            auto* cell = new QTableWidgetItem(
                QString::fromStdString(model.Cell(static_cast<std::size_t>(row), column)));
            cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            m_grid->setItem(row, column, cell);
        }
    }
    // Every row is inserted selected and focused: all end selected, the last one focused.
    if (rows > 0) {
        m_grid->selectAll();
        m_grid->selectionModel()->setCurrentIndex(m_grid->model()->index(rows - 1, 0),
                                                  QItemSelectionModel::NoUpdate);
    }
}

void CDlgEditChannel::SyncRow(int row) {
    const CChannelGridModel& model = m_editor.Model();
    if (row < 0 || static_cast<std::size_t>(row) >= model.RowCount())
        return;
    const int columns = std::min(model.ColumnCount(), m_grid->columnCount());
    for (int column = 0; column < columns; ++column) {
        const QString text =
            QString::fromStdString(model.Cell(static_cast<std::size_t>(row), column));
        QTableWidgetItem* cell = m_grid->item(row, column);
        if (cell && cell->text() != text)
            cell->setText(text);
    }
}

void CDlgEditChannel::OnChoicesRequested(int column, QStringList* choices) {
    // Only while the keyboard focus is inside the grid: a drop-down opened any other way
    // stays empty.
    const QWidget* focus = m_grid->window()->focusWidget();
    if (!focus)
        return;
    const QRect gridRect(m_grid->mapToGlobal(QPoint(0, 0)), m_grid->size());
    if (!gridRect.contains(focus->mapToGlobal(QPoint(0, 0))))
        return;
    for (const std::string& choice : m_editor.Choices(column))
        choices->append(QString::fromStdString(choice));
}

void CDlgEditChannel::OnEditFinished(int row, int column, const QString& text) {
    if (row < 0)
        return;
    const CellEditOutcome outcome =
        m_editor.EditCell(static_cast<std::size_t>(row), column, text.toStdString());
    if (outcome.message)
        ShowUserMessage(this, *outcome.message);
    if (outcome.refill) {
        // The rules rebuilt the model from the records: the grid shows it again.
        FillGrid();
    } else {
        SyncRow(row); // also puts back what the rules refused
    }
}

template <class Result>
void CDlgEditChannel::RunTransfer(std::function<Result(const ProgressFn&)> job,
                                  std::function<void(Result)> done) {
    QPointer<QWidget> focus = focusWidget();
    m_grid->EndEdit();
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->show();
    m_creep.start();
    m_runner->Start<Result>(
        std::move(job),
        [this, focus, done = std::move(done)](Result result) {
            m_creep.stop();
            // Sounder than leaving a stale bar after a failure: the transfer is over either way.
            m_progress->hide();
            if (focus)
                focus->setFocus(Qt::OtherFocusReason);
            done(std::move(result));
        },
        &CLevantoApp::Instance().Port());
}

void CDlgEditChannel::SetProgress(int position, int range) {
    if (range > 0 && range != m_progress->maximum())
        m_progress->setRange(0, range);
    m_progress->setValue(position);
}

void CDlgEditChannel::Upload() {
    if (m_runner->Busy() || !MayDropEdits())
        return;
    ClearGrid();
    m_editor.ForgetHistory(); // another plan: its steps do not apply
    const int slot = m_slots->currentIndex();
    // The worker reads into a copy; the list takes it back on this thread.
    auto read = std::make_shared<CChannelPlanList>(m_editor.Plan());
    cnComm& port = CLevantoApp::Instance().Port();
    const ConnectTarget target = ConnectTarget::FromSettings();
    RunTransfer<PlanUploadResult>(
        [&port, target, slot, read](const ProgressFn& progress) {
            return UploadPlan(port, target, slot, *read, progress);
        },
        [this, read](PlanUploadResult result) {
            m_editor.TakeRead(*read);
            if (result.kind >= 0) {
                BuildColumns();
                if (result.outcome.ok)
                    FillGrid();
            }
            ShowOutcome(this, result.outcome);
        });
}

void CDlgEditChannel::Download() {
    if (m_runner->Busy())
        return;
    m_grid->EndEdit();
    const int slot = m_slots->currentIndex();
    m_downloadSlot = slot;
    // What the grid shows is what goes: with no rows (a failed upload left old records in the
    // list) nothing is sent.
    const CChannelPlanList shown = m_editor.PlanToDownload();
    // Zeros from a cut file are no channels the meter should get unasked.
    if (!shown.Empty() && m_editor.ZeroFilled() > 0 &&
        Prompt().AskWith(this, MessageCaption(MessageKind::Plain),
                         Text(txt::kChannelsThisPlanWereFilledWith).arg(m_editor.ZeroFilled()),
                         {Text(txt::kDownload), Text(txt::kCancel)}) != IPrompt::Answer::Yes)
        return;
    cnComm& port = CLevantoApp::Instance().Port();
    const ConnectTarget target = ConnectTarget::FromSettings();
    RunTransfer<OperationOutcome>(
        [&port, target, slot, shown](const ProgressFn& progress) {
            return DownloadPlan(port, target, slot, shown, progress);
        },
        [this, slot](OperationOutcome outcome) {
            if (outcome.ok) {
                m_editor.Downloaded();
                ReportDone(this, Text(txt::kStatusPlanWritten).arg(QChar(u'A' + slot)));
            }
            ShowOutcome(this, outcome);
        });
}

void CDlgEditChannel::Open() {
    if (m_runner->Busy())
        return;
    const std::optional<QString> name = Prompt().OpenFileName(
        this, QString::fromLatin1(kPlanFilter), QString::fromLatin1(kPlanSuffix));
    if (name)
        OpenFile(LocalPath(*name));
}

void CDlgEditChannel::OpenFile(const std::string& path) {
    m_grid->EndEdit();
    const ChannelPlanEditor::OpenResult opened = m_editor.OpenFile(path);
    if (opened.status != PlanFileStatus::Ok) {
        // The plan shown stays as it was.
        ShowUserMessage(this, {txt::kFileNotCreated, MessageKind::Error},
                        QString::fromStdString(PlanFileStatusText(opened.status, path)));
        return;
    }
    BuildColumns();
    FillGrid();
    if (m_editor.ZeroFilled() > 0)
        Prompt().ShowMessage(this, {MessageCaption(MessageKind::Error),
                                    Text(txt::kChannelPlanFileCutShortChannels)
                                        .arg(m_editor.ZeroFilled())
                                        .arg(opened.announced),
                                    QString::fromStdString(path), MessageKind::Error});
}

void CDlgEditChannel::Save() {
    if (m_runner->Busy())
        return;
    const std::optional<QString> name = Prompt().SaveFileName(
        this, QString::fromLatin1(kPlanFilter), QString::fromLatin1(kPlanSuffix));
    if (!name || m_editor.Plan().Empty())
        return;
    const std::string path = LocalPath(*name);
    const PlanFileStatus status = m_editor.SaveFile(path);
    if (status != PlanFileStatus::Ok && status != PlanFileStatus::EmptyPlan)
        ShowUserMessage(this, {txt::kFileNotCreated, MessageKind::Error},
                        QString::fromStdString(PlanFileStatusText(status, path)));
}

std::vector<std::size_t> CDlgEditChannel::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : m_grid->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    return rows;
}

void CDlgEditChannel::ShowPlanAt(std::size_t row) {
    const int column = std::max(0, m_grid->currentColumn());
    const int scrolled = m_grid->verticalScrollBar()->value();
    FillGrid();
    const std::size_t rows = m_editor.Model().RowCount();
    if (rows == 0)
        return;
    m_grid->verticalScrollBar()->setValue(scrolled); // the view stays where it was
    // After a command only the row it points at stays selected.
    row = std::min(row, rows - 1);
    m_grid->clearSelection();
    m_grid->setCurrentCell(static_cast<int>(row), column,
                           QItemSelectionModel::Rows | QItemSelectionModel::ClearAndSelect);
    m_editor.SetCurrentRow(row);
}

void CDlgEditChannel::RunCommand(const std::function<PlanEditResult()>& command) {
    if (m_runner->Busy())
        return;
    m_grid->EndEdit();
    const PlanEditResult result = command();
    if (!result.Accepted()) {
        const std::string text = PlanEditRefusalText(result.refusal);
        if (result.refusal == PlanEditRefusal::TooManyTilts)
            ShowUserMessage(this, {txt::kTiltMax, MessageKind::Error});
        else if (!text.empty())
            Prompt().ShowMessage(this, {MessageCaption(MessageKind::Error),
                                        QString::fromStdString(text),
                                        {},
                                        MessageKind::Error});
        return;
    }
    ShowPlanAt(result.currentRow);
}

void CDlgEditChannel::CopyRows() {
    if (m_runner->Busy())
        return;
    m_grid->EndEdit();
    m_editor.Copy(SelectedRows());
}

void CDlgEditChannel::PasteRows() {
    const int current = m_grid->currentRow();
    RunCommand([&] {
        return m_editor.Paste(current >= 0
                                  ? std::optional<std::size_t>(static_cast<std::size_t>(current))
                                  : std::nullopt);
    });
}

void CDlgEditChannel::InsertRow() {
    const int current = m_grid->currentRow();
    if (current >= 0)
        RunCommand([&] { return m_editor.Insert(static_cast<std::size_t>(current)); });
}

void CDlgEditChannel::DeleteRows() {
    const std::vector<std::size_t> rows = SelectedRows();
    RunCommand([&] { return m_editor.Delete(rows); });
}

void CDlgEditChannel::OrderRows() {
    RunCommand([&] { return m_editor.Order(); });
}

void CDlgEditChannel::Undo() {
    StepHistory(true);
}

void CDlgEditChannel::Redo() {
    StepHistory(false);
}

void CDlgEditChannel::StepHistory(bool back) {
    if (m_runner->Busy())
        return;
    m_grid->EndEdit(); // an open edit becomes a step first
    const std::size_t row = m_editor.Model().CurrentRow();
    if (back ? m_editor.Undo() : m_editor.Redo())
        ShowPlanAt(row);
}

bool CDlgEditChannel::MayDropEdits() {
    m_grid->EndEdit(); // an open edit counts
    if (!m_editor.Edited())
        return true;
    // A cancelled save keeps the window and its edits.
    return MayDropUnsaved(this, MessageCaption(MessageKind::Plain), Text(txt::kSaveChannels),
                          [this] {
                              Save();
                              return !m_editor.Edited();
                          });
}

void CDlgEditChannel::reject() {
    if (m_runner->Busy() || (!m_closing && !MayDropEdits()))
        return;
    QDialog::reject();
}

void CDlgEditChannel::accept() {
    if (m_runner->Busy() || !MayDropEdits())
        return;
    QDialog::accept();
}

void CDlgEditChannel::closeEvent(QCloseEvent* event) {
    if (m_runner->Busy()) { // the transfer ends first
        event->ignore();
        return;
    }
    m_grid->EndEdit();
    if (!m_editor.Plan().Empty() &&
        Prompt().Ask(this, MessageCaption(MessageKind::Plain), Text(txt::kSaveChannels), false) ==
            IPrompt::Answer::Yes)
        Save();
    // The question was asked: closing goes on whatever the answer.
    m_closing = true;
    QDialog::closeEvent(event);
    m_closing = false;
}

void CDlgEditChannel::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Minimizing is not offered: the window goes back to how it was.
    const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    QTimer::singleShot(0, this, [this, before] { setWindowState(before & ~Qt::WindowMinimized); });
}

bool CDlgEditChannel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept(); // the standard dialog keys, without the save question
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qm
