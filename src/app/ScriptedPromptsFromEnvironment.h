#pragma once
// Message boxes answered from the environment instead of a person, for tests that drive the
// real program from outside: TESSARY_PROMPT_ANSWERS lists the buttons to press in order
// ("yes", "no", "ok", "cancel", comma-separated; the default button once they run out), and
// TESSARY_PROMPT_LOG names a file that gets one line per message ("caption|text", line feeds
// as "\n"). Every other chooser is the real one. UI thread only.

#include <memory>

#include <QStringList>

#include "views/common/UserPrompts.h"

namespace tessary {

class ScriptedPromptsFromEnvironment : public UserPrompts {
public:
    // Null unless TESSARY_PROMPT_ANSWERS or TESSARY_PROMPT_LOG is set.
    static std::unique_ptr<UserPrompts> FromEnvironment();

    QMessageBox::StandardButton ShowMessage(QWidget* owner, const MessageBoxSpec& recipe) override;

private:
    QStringList m_answers;
    QString m_log;
};

} // namespace tessary
