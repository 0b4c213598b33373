#pragma once

#include <QDialog>
#include <string>
#include <utility>

#include "operations/OperationOutcome.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace qm {

class OperationRunner;

// The connection dialog: picks the meter's port, proves the meter answers on it and stores the
// choice in the settings. Reused for every showing.
class CDlgSetCom : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSetCom(QWidget* parent = nullptr);

    // The opening steps: the settings into the lists (the caller then shows the dialog).
    void Load();

    // The port entry: COM1-COM10, the stored path and the serial adapters present by their
    // stable names; it can be typed into (a device path or COMn).
    QComboBox* PortList() const { return m_ports; }
    QComboBox* BaudList() const { return m_baud; }
    QProgressBar* Progress() const { return m_progress; }
    QPushButton* ConnectButton() const { return m_connect; }
    QPushButton* CancelButton() const { return m_cancel; }

    // Where the adapters present are listed (tests point it elsewhere).
    void SetAdapterFolder(std::string folder) { m_adapterFolder = std::move(folder); }
    // Refills the list with the ports present now, keeping the entry's text.
    void RefreshPorts();
    // The port text Connect uses: a chosen entry's port, or what was typed.
    std::string ChosenPort() const;

private:
    void Connect();
    void Connected(const std::string& port, OperationOutcome outcome);

    QComboBox* m_ports;
    std::string m_adapterFolder;
    std::string m_storedPath; // a stored device path, offered in the list
    QLabel* m_baudLabel;
    QComboBox* m_baud;
    QProgressBar* m_progress;
    QPushButton* m_connect;
    QPushButton* m_cancel;
    OperationRunner* m_runner;
};

// The detail under "Failed to open com!" when the device exists but this user may not open it;
// empty otherwise.
QString PortAccessDetail(const std::string& device);
// The same, given whether the device exists and why access was refused (an errno value, 0 when
// it was not).
QString PortAccessDetail(const std::string& device, bool exists, int accessError);

} // namespace qm
