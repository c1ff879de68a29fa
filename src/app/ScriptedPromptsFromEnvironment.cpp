#include "ScriptedPromptsFromEnvironment.h"

#include <QFile>

namespace tessary {

std::unique_ptr<UserPrompts> ScriptedPromptsFromEnvironment::FromEnvironment()
{
    const QString answers = qEnvironmentVariable("TESSARY_PROMPT_ANSWERS");
    const QString log = qEnvironmentVariable("TESSARY_PROMPT_LOG");
    if (!qEnvironmentVariableIsSet("TESSARY_PROMPT_ANSWERS") && log.isEmpty())
        return nullptr;
    auto prompts = std::make_unique<ScriptedPromptsFromEnvironment>();
    prompts->m_answers = answers.split(QLatin1Char(','), Qt::SkipEmptyParts);
    prompts->m_log = log;
    return prompts;
}

QMessageBox::StandardButton ScriptedPromptsFromEnvironment::ShowMessage(QWidget*, const MessageBoxSpec& recipe)
{
    if (!m_log.isEmpty()) {
        QFile f(m_log);
        if (f.open(QIODevice::Append | QIODevice::Text)) {
            QString text = recipe.text;
            text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
            f.write((recipe.caption + QLatin1Char('|') + text).toUtf8() + '\n');
        }
    }
    if (m_answers.isEmpty())
        return recipe.defaultButton;
    const QString answer = m_answers.takeFirst().trimmed().toLower();
    if (answer == QLatin1String("yes"))
        return QMessageBox::Yes;
    if (answer == QLatin1String("no"))
        return QMessageBox::No;
    if (answer == QLatin1String("cancel"))
        return QMessageBox::Cancel;
    return QMessageBox::Ok;
}

} // namespace tessary
