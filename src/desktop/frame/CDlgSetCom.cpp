#include "desktop/frame/CDlgSetCom.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <functional>
#include <vector>

#include "app/Settings.h"
#include "base/Platform.h"
#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/OperationRunner.h"
#include "desktop/Prompt.h"
#include "link/PortAddress.h"
#include "link/PortPresence.h"
#include "link/SerialAdapters.h"
#include "operations/ConnectOperation.h"
#include "res/StringTable.h"

namespace qm {

namespace {

constexpr int kPortCount = 10;

// The port list refreshes itself each time it opens, so an adapter plugged in meanwhile shows.
class PortCombo : public QComboBox {
public:
    PortCombo(QWidget* parent, std::function<void()> refresh)
        : QComboBox(parent), m_refresh(std::move(refresh)) {}
    void showPopup() override {
        m_refresh();
        QComboBox::showPopup();
    }

private:
    std::function<void()> m_refresh;
};

} // namespace

QString PortAccessDetail(const std::string& device, bool exists, int accessError) {
    if (!exists || accessError != EACCES)
        return {};
    return Text(txt::kNoPermissionToOpen).arg(QString::fromStdString(device));
}

QString PortAccessDetail(const std::string& device) {
    const DeviceAccess access = ProbeDevice(device);
    return PortAccessDetail(device, access.exists, access.error);
}

CDlgSetCom::CDlgSetCom(QWidget* parent)
    : QDialog(parent), m_ports(new PortCombo(this, [this] { RefreshPorts(); })),
      m_adapterFolder(kSerialByIdFolder), m_baudLabel(new QLabel(this)),
      m_baud(new QComboBox(this)), m_progress(new QProgressBar(this)),
      m_connect(new QPushButton(this)), m_cancel(new QPushButton(this)),
      m_runner(new OperationRunner(this)) {
    PaintDialogBackground(this);
    auto* portLabel = new QLabel(this);
    setWindowTitle(Text(txt::kConnectTitle));
    portLabel->setText(Text(txt::kComPort));
    portLabel->setBuddy(m_ports);
    m_baudLabel->setText(Text(txt::kComBaud));
    m_connect->setText(Text(txt::kConnect));
    m_cancel->setText(Text(txt::kCancel));
    m_baud->addItems({QStringLiteral("9600"), QStringLiteral("115200")});
    m_baud->setEditable(true);
    m_baudLabel->hide();
    m_baud->hide();
    m_ports->setEditable(true);
    m_ports->setInsertPolicy(QComboBox::NoInsert);
    m_ports->setMinimumContentsLength(24);
    m_ports->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_connect->setDefault(true);
    m_connect->setAutoDefault(true);
    m_cancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(portLabel, 0, 0);
    grid->addWidget(m_ports, 0, 1);
    grid->addWidget(m_baudLabel, 1, 0);
    grid->addWidget(m_baud, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_connect);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    // The bar keeps its place while hidden, so the dialog does not jump when connecting.
    QSizePolicy keep = m_progress->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_progress->setSizePolicy(keep);
    m_progress->hide();

    m_runner->SetControls({m_ports, m_baud, m_connect, m_cancel});
    m_runner->SetProgress([this](int position, int) { m_progress->setValue(position); });
    connect(m_connect, &QPushButton::clicked, this, &CDlgSetCom::Connect);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CDlgSetCom::RefreshPorts() {
    const QString text = m_ports->currentText();
    const int chosen = m_ports->currentIndex();
    const QString chosenPort = chosen >= 0 ? m_ports->itemData(chosen).toString() : QString();
    m_ports->clear();
    for (int port = 1; port <= kPortCount; ++port) {
        const QString device = QString::fromStdString(PortDeviceName(port));
        const bool present = PortIsPresent(port);
        m_ports->addItem(
            Text(txt::kPortListEntry).arg(port).arg(present ? device : Text(txt::kPortAbsent)),
            QString::number(port));
        m_ports->setItemData(port - 1, device, Qt::ToolTipRole);
    }
    std::vector<std::string> paths = SerialAdapterPaths(m_adapterFolder);
    if (!m_storedPath.empty() && std::find(paths.begin(), paths.end(), m_storedPath) == paths.end())
        paths.insert(paths.begin(), m_storedPath);
    for (const std::string& path : paths) {
        const QString device = QString::fromStdString(path);
        m_ports->addItem(device, device);
    }
    // The same port stays chosen, a typed text stays as typed.
    const int again = chosenPort.isEmpty() ? -1 : m_ports->findData(chosenPort);
    m_ports->setCurrentIndex(again);
    if (again < 0)
        m_ports->setEditText(text);
}

std::string CDlgSetCom::ChosenPort() const {
    const QString text = m_ports->currentText();
    const int entry = m_ports->findText(text);
    if (entry >= 0)
        return m_ports->itemData(entry).toString().toStdString();
    return text.toStdString();
}

void CDlgSetCom::Load() {
    m_progress->hide();
    m_progress->setValue(0);
    const Settings settings;
    const std::string stored = settings.Port("1");
    const PortParse port = ParsePortText(stored);
    m_storedPath = port.Ok() && !port.address.device.empty() ? port.address.device : "";
    m_ports->setCurrentIndex(-1);
    m_ports->setEditText(QString());
    RefreshPorts();
    if (!m_storedPath.empty()) {
        // A device path (the simulator's terminal, a USB adapter by name) stays as written.
        m_ports->setCurrentIndex(m_ports->findData(QString::fromStdString(m_storedPath)));
    } else if (port.Ok() && port.address.number <= kPortCount) {
        m_ports->setCurrentIndex(port.address.number - 1);
    } else {
        // Outside the list: no entry is chosen; a port typed before shows as its COMn.
        m_ports->setCurrentIndex(-1);
        m_ports->setEditText(port.Ok() ? QStringLiteral("COM%1").arg(port.address.number)
                                       : QString());
    }
    m_baud->setCurrentText(QString::fromStdString(settings.Baud()));
}

void CDlgSetCom::Connect() {
    m_progress->setValue(6);
    m_progress->show();
    ConnectRequest request;
    request.port = ChosenPort();
    request.baud = m_baud->currentText().toStdString();
    CLevantoApp& app = CLevantoApp::Instance();
    m_runner->Start<OperationOutcome>(
        [&app, request](const ProgressFn& progress) {
            return RunConnect(app.Port(), request, Settings(), app.Plans(), progress);
        },
        [this, port = request.port](OperationOutcome outcome) { Connected(port, outcome); },
        &app.Port());
}

void CDlgSetCom::Connected(const std::string& port, OperationOutcome outcome) {
    if (outcome.ok) {
        accept();
        return;
    }
    if (outcome.MessageId() == txt::kOpenPortFailed) {
        const PortParse chosen = ParsePortText(port);
        if (!chosen.Ok()) {
            // The parser says what is wrong with the text, beside the text itself.
            outcome.detail = QStringLiteral("%1 \u201C%2\u201D")
                                 .arg(QString::fromStdString(PortRefusalText(chosen.refusal)),
                                      QString::fromStdString(port).trimmed())
                                 .toStdString();
        } else if (const QString detail = PortAccessDetail(chosen.address.DeviceName());
                   !detail.isEmpty()) {
            outcome.detail = detail.toStdString();
        }
    }
    ShowOutcome(this, outcome);
    m_progress->hide();
}

} // namespace qm
