#pragma once
// "Filtering Files...": the modal dialog in front of a filtering job. It stays hidden for its
// first eight 50 ms ticks, so a quick filter is never seen, then shows itself, scrolls its
// progress strip and shows the accepted count as the worker reports it. Cancel (the button,
// Escape or the close box) pauses the worker at its next path while "Cancel filtering?" is
// asked, and stops it on Yes.
//
// Threads: UI thread; the job's worker only posts FilterProgressEvent to this dialog.
// Ownership: the dialog owns its job and waits for the worker before exec() returns (and
// again, stopping it, when destroyed), so the job never outlives the dialog.
// While exec() runs, mouse and keyboard input to every other window of the program is
// swallowed, also during the hidden start, as the disabled owner of a modal dialog would.

#include <memory>

#include <QBasicTimer>
#include <QDialog>
#include <QStringList>

class QEventLoop;
class QLabel;
class QPushButton;

namespace tessary {

class FilterJob;
class ProgressStrip;
class UserPrompts;

class FilterProgressDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kProgressAreaId = 1010;
    static constexpr int kCountFieldId = 1011;
    static constexpr int kTimerId = 1000;
    static constexpr int kTickMs = 50;
    static constexpr int kHiddenTicks = 8;
    static constexpr int kAnimationStep = 4;

    // `prompts` asks the cancel question and must outlive the dialog.
    FilterProgressDialog(std::unique_ptr<FilterJob> job, UserPrompts& prompts, QWidget* owner);
    ~FilterProgressDialog() override;

    // Starts the job and runs the dialog: Accepted when the filter completed, Rejected when
    // it was cancelled (or its thread could not be made). Once per dialog.
    int exec() override;
    // The accepted files after exec() returned Accepted; empty otherwise.
    QStringList AcceptedFiles() const;

    FilterJob& Job() { return *m_job; }
    int Ticks() const { return m_ticks; }
    int Count() const { return m_count; }
    ProgressStrip* Strip() const { return m_strip; }
    QLabel* CountField() const { return m_countField; }
    QPushButton* CancelButton() const { return m_cancel; }

    // Showing is held back during the first ticks and after the dialog has closed.
    void setVisible(bool visible) override;
    // Cancel: asks, and stops the worker on Yes.
    void reject() override;
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Responsive() const;
    void ShowCount();
    void CentreOverOwner();
    bool BelongsToDialog(QObject* object) const;

    std::unique_ptr<FilterJob> m_job;
    UserPrompts& m_prompts;
    ProgressStrip* m_strip = nullptr;
    QLabel* m_countField = nullptr;
    QPushButton* m_cancel = nullptr;
    QBasicTimer m_timer;
    QEventLoop* m_loop = nullptr;
    int m_ticks = 0;
    int m_count = 0;
    bool m_started = false;
    bool m_closed = false;
    bool m_asking = false;
    bool m_finishedWhileAsking = false;
};

} // namespace tessary
