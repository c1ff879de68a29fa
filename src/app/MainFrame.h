#pragma once
// The main window: the main view (page tabs, home and album pages) as its client. Keeps the
// paths it was asked to open, from the command line or from later starts. UI thread only.

#include <QMainWindow>
#include <QStringList>

namespace tessary {

class VeMainView;

class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Reads the settings file into Settings::Instance().
    explicit MainFrame(QWidget* parent = nullptr);
    // Writes the settings file: the main window's final destruction.
    ~MainFrame() override;

    // Opening from an argument or a hand-over: the album is opened (made absolute) and its
    // page shown when no album is open yet.
    void OpenFromArgument(const QString& path);
    VeMainView& MainView() { return *m_mainView; }
    // "Orvanne Tessary", followed by " - [name]" while an album is open.
    void UpdateTitle();
    // Handles one hand-over message; returns 1 when it was accepted, 0 when a modal dialog
    // was up (that dialog is brought to the front and nothing is opened).
    char HandleHandOver(const QByteArray& message);

    const QStringList& ReceivedPaths() const { return m_received; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Activate();

    VeMainView* m_mainView;
    QStringList m_received;
};

} // namespace tessary
