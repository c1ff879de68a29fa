#pragma once
// The main window. Holds the album paths received from later starts; the first received path
// is shown in the status area until albums can be opened. UI thread only.

#include <QMainWindow>
#include <QStringList>

namespace tessary {

class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Reads the settings file into Settings::Instance().
    explicit MainFrame(QWidget* parent = nullptr);
    // Writes the settings file: the main window's final destruction.
    ~MainFrame() override;

    // Opening from an argument or a hand-over.
    void OpenFromArgument(const QString& path);
    // Handles one hand-over message; returns 1 when it was accepted, 0 when a modal dialog
    // was up (that dialog is brought to the front and nothing is opened).
    char HandleHandOver(const QByteArray& message);

    const QStringList& ReceivedPaths() const { return m_received; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Activate();

    QStringList m_received;
};

} // namespace tessary
