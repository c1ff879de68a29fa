#include "FilterProgressDialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>

#include "album/FilterJob.h"
#include "views/common/DialogUnits.h"
#include "views/adding/ProgressStrip.h"
#include "views/common/UserPrompts.h"

namespace tessary {

namespace {
// The dialog template, in dialog units.
const QSize kDialogSize(175, 47);
const QRect kProgressArea(7, 7, 161, 10);
const QRect kQueuedLabel(7, 29, 30, 8);
const QRect kCountField(37, 29, 70, 8);
const QRect kCancelButton(118, 26, 50, 14);

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}
} // namespace

FilterProgressDialog::FilterProgressDialog(std::unique_ptr<FilterJob> job, UserPrompts& prompts, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                         | Qt::MSWindowsFixedSizeDialogHint)
    , m_job(std::move(job))
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("FilteringFiles"));
    setWindowTitle(QStringLiteral("Filtering Files..."));
    setModal(true);
    const QFont font = DialogFont();
    setFont(font);
    const DialogBaseUnits base = BaseUnitsOf(font);
    setFixedSize(MapDialogSize(kDialogSize, base));

    m_strip = new ProgressStrip(this);
    m_strip->setObjectName(QStringLiteral("ProgressArea"));
    m_strip->setProperty("controlId", kProgressAreaId);
    m_strip->setGeometry(MapDialogRect(kProgressArea, base));

    auto* queued = new QLabel(QStringLiteral("Queued: "), this);
    queued->setGeometry(MapDialogRect(kQueuedLabel, base));

    m_countField = new QLabel(QStringLiteral("0"), this);
    m_countField->setObjectName(QStringLiteral("CountField"));
    m_countField->setProperty("controlId", kCountFieldId);
    m_countField->setGeometry(MapDialogRect(kCountField, base));

    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setGeometry(MapDialogRect(kCancelButton, base));
    m_cancel->setDefault(true);
    connect(m_cancel, &QPushButton::clicked, this, &FilterProgressDialog::reject);
}

FilterProgressDialog::~FilterProgressDialog()
{
    qApp->removeEventFilter(this);
    m_job->StopAndWait();
}

int FilterProgressDialog::exec()
{
    if (m_started)
        return Rejected;
    m_started = true;
    CentreOverOwner();
    m_timer.start(kTickMs, this);
    m_job->SetReceiver(this);
    if (!m_job->Start()) {
        m_timer.stop();
        m_closed = true;
        return Rejected;
    }
    qApp->installEventFilter(this);
    // Our own loop: QDialog::exec only leaves its loop when the dialog hides, and a quick
    // filter ends before the dialog was ever shown.
    setAttribute(Qt::WA_ShowModal, true);
    setResult(0);
    show();
    QEventLoop loop;
    m_loop = &loop;
    if (!m_closed)
        loop.exec(QEventLoop::DialogExec);
    m_loop = nullptr;
    qApp->removeEventFilter(this);
    m_timer.stop();
    // The worker has completed, or was stopped and ends at its next path boundary.
    m_job->Wait();
    return result();
}

QStringList FilterProgressDialog::AcceptedFiles() const
{
    if (result() != Accepted || m_job->HasThread() || !m_job->Completed())
        return {};
    return m_job->Output();
}

void FilterProgressDialog::setVisible(bool visible)
{
    if (visible && (m_ticks < kHiddenTicks || m_closed))
        return;
    QDialog::setVisible(visible);
}

void FilterProgressDialog::reject()
{
    if (m_closed || m_asking)
        return;
    const bool running = m_job->HasThread() && !m_job->ExitCode().has_value();
    // The worker waits before its next path while the user makes up their mind.
    if (running)
        m_job->PauseGate().Reset();
    m_asking = true;
    const MessageBoxSpec question = YesNoQuestion(QStringLiteral("Cancel filtering?"), QStringLiteral("Confirm Cancel"));
    const QMessageBox::StandardButton answer = m_prompts.ShowMessage(this, question);
    m_asking = false;
    if (answer != QMessageBox::Yes) {
        m_job->PauseGate().Set();
        if (m_finishedWhileAsking)
            done(Accepted);
        else
            ShowCount();
        return;
    }
    // Flag first: the gate opening must not let the worker take one more path.
    m_job->RequestStop();
    m_job->PauseGate().Set();
    done(Rejected);
}

void FilterProgressDialog::done(int result)
{
    if (m_closed)
        return;
    m_closed = true;
    m_timer.stop();
    QDialog::done(result);
    if (m_loop)
        m_loop->exit();
}

bool FilterProgressDialog::event(QEvent* event)
{
    if (event->type() != kFilterProgressEvent)
        return QDialog::event(event);
    const auto* message = static_cast<FilterProgressEvent*>(event);
    if (message->Finished()) {
        if (m_asking)
            m_finishedWhileAsking = true;
        else
            done(Accepted);
    } else {
        m_count = message->Count();
        if (Responsive())
            ShowCount();
    }
    return true;
}

void FilterProgressDialog::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer.timerId()) {
        QDialog::timerEvent(event);
        return;
    }
    if (m_ticks < kHiddenTicks) {
        ++m_ticks;
        return;
    }
    if (!isVisible())
        setVisible(true);
    if (Responsive())
        m_strip->Advance(kAnimationStep);
}

bool FilterProgressDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Shortcuts go to actions, which are no widgets; everything else reaches a widget.
    const QEvent::Type type = event->type();
    if (IsUserInput(type) && (watched->isWidgetType() || type == QEvent::Shortcut) && !BelongsToDialog(watched))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool FilterProgressDialog::Responsive() const
{
    return isEnabled() && !m_asking;
}

void FilterProgressDialog::ShowCount()
{
    m_countField->setText(QString::number(static_cast<unsigned>(m_count)));
}

void FilterProgressDialog::CentreOverOwner()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area;
    if (owner && owner->isVisible())
        area = owner->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
}

bool FilterProgressDialog::BelongsToDialog(QObject* object) const
{
    // The cancel question is a window of its own whose owner is this dialog.
    for (QObject* o = object; o; o = o->parent()) {
        if (o == this)
            return true;
    }
    return false;
}

} // namespace tessary
