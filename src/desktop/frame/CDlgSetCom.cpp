#include "desktop/frame/CDlgSetCom.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cerrno>

#include "app/Settings.h"
#include "base/Platform.h"
#include "desktop/CLevantoApp.h"
#include "desktop/DesktopTexts.h"
#include "desktop/OperationWorker.h"
#include "desktop/Prompt.h"
#include "link/PortAddress.h"
#include "operations/ConnectOperation.h"
#include "res/StringTable.h"

namespace qm {

namespace {

constexpr int kPortCount = 10;

} // namespace

QString PortAccessDetail(const std::string& device, bool exists, int accessError) {
    if (!exists || accessError != EACCES)
        return {};
    const QString path = QString::fromStdString(device);
    if (LanguageBase() == kLanguageChinese)
        return QStringLiteral("没有打开 %1 的权限。请将用户加入 dialout 组"
                              "（sudo usermod -aG dialout $USER），然后重新登录。")
            .arg(path);
    return QStringLiteral("No permission to open %1. Add your user to the dialout group "
                          "(sudo usermod -aG dialout $USER), then log out and in again.")
        .arg(path);
}

QString PortAccessDetail(const std::string& device) {
    const DeviceAccess access = ProbeDevice(device);
    return PortAccessDetail(device, access.exists, access.error);
}

CDlgSetCom::CDlgSetCom(QWidget* parent)
    : QDialog(parent), m_ports(new QComboBox(this)), m_baudLabel(new QLabel(this)),
      m_baud(new QComboBox(this)), m_progress(new QProgressBar(this)),
      m_connect(new QPushButton(this)), m_cancel(new QPushButton(this)) {
    PaintDialogBackground(this);
    auto* portLabel = new QLabel(this);
    setWindowTitle(Text(5575));
    portLabel->setText(Text(5578));
    portLabel->setBuddy(m_ports);
    m_baudLabel->setText(Text(5579));
    m_connect->setText(Text(5576));
    m_cancel->setText(Text(5577));
    m_baud->addItems({QStringLiteral("9600"), QStringLiteral("115200")});
    m_baud->setEditable(true);
    m_baudLabel->hide();
    m_baud->hide();
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

    connect(m_connect, &QPushButton::clicked, this, &CDlgSetCom::Connect);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CDlgSetCom::Load() {
    m_progress->hide();
    m_progress->setValue(0);
    m_ports->clear();
    for (int port = 1; port <= kPortCount; ++port) {
        const QString device = QString::fromStdString(PortDeviceName(port));
        const bool present = QFileInfo::exists(device);
        m_ports->addItem(
            QStringLiteral("COM%1 (%2)").arg(port).arg(present ? device : QStringLiteral("absent")),
            QString::number(port));
        m_ports->setItemData(port - 1, device, Qt::ToolTipRole);
    }
    const Settings settings;
    const std::string port = settings.Port("1");
    if (port.find('/') != std::string::npos) {
        // A device path (the simulator's terminal, a USB adapter by name) stays as written.
        const QString path = QString::fromStdString(port);
        m_ports->addItem(path, path);
        m_ports->setCurrentIndex(m_ports->count() - 1);
    } else {
        const long number = DecimalValue(port);
        m_ports->setCurrentIndex(number >= 1 && number <= kPortCount ? int(number) - 1 : -1);
    }
    m_baud->setCurrentText(QString::fromStdString(settings.Baud()));
}

int CDlgSetCom::Open() {
    Load();
    return exec();
}

void CDlgSetCom::Connect() {
    m_progress->setValue(6);
    m_progress->show();
    m_connect->setEnabled(false);
    m_cancel->setEnabled(false);
    ConnectRequest request;
    request.port = m_ports->currentIndex() < 0 ? std::string("0")
                                               : m_ports->currentData().toString().toStdString();
    request.baud = m_baud->currentText().toStdString();
    CLevantoApp& app = CLevantoApp::Instance();
    OperationOutcome outcome = RunInWorker<OperationOutcome>(
        [&app, &request](const ProgressFn& progress) {
            return RunConnect(app.Port(), request, Settings(), app.Plans(), progress);
        },
        [this](int position, int) { m_progress->setValue(position); });
    m_connect->setEnabled(true);
    m_cancel->setEnabled(true);
    if (outcome.ok) {
        accept();
        return;
    }
    if (outcome.MessageId() == msg::kOpenPortFailed) {
        const long number = DecimalValue(request.port);
        const std::string device = request.port.find('/') != std::string::npos
                                       ? request.port
                                       : (number >= 1 ? PortDeviceName(int(number)) : "");
        const QString detail = device.empty() ? QString() : PortAccessDetail(device);
        if (!detail.isEmpty())
            outcome.detail = detail.toStdString();
    }
    ShowOutcome(this, outcome);
    m_progress->hide();
}

} // namespace qm
