#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace qm {

// The connection dialog: picks the meter's port, proves the meter answers on it and stores the
// choice in the settings. Reused for every showing.
class CDlgSetCom : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSetCom(QWidget* parent = nullptr);

    // Reads the settings into the lists and shows the dialog modally.
    int Open();
    // The opening steps without showing (what Open does first).
    void Load();

    QComboBox* PortList() const { return m_ports; }
    QComboBox* BaudList() const { return m_baud; }
    QProgressBar* Progress() const { return m_progress; }
    QPushButton* ConnectButton() const { return m_connect; }
    QPushButton* CancelButton() const { return m_cancel; }

private:
    void Connect();

    QComboBox* m_ports;
    QLabel* m_baudLabel;
    QComboBox* m_baud;
    QProgressBar* m_progress;
    QPushButton* m_connect;
    QPushButton* m_cancel;
};

// The detail under "Failed to open com!" when the device exists but this user may not open it;
// empty otherwise.
QString PortAccessDetail(const std::string& device);
// The same, given whether the device exists and why access was refused (an errno value, 0 when
// it was not).
QString PortAccessDetail(const std::string& device, bool exists, int accessError);

} // namespace qm
