#pragma once
// Prompts that pass every question on to another UserPrompts chosen later (the main
// window's), or show the real dialogs while none is set. Panes made before the window hands
// its prompts down hold one of these. UI thread only; the target is not owned.

#include "UserPrompts.h"

namespace tessary {

class ForwardingPrompts : public UserPrompts {
public:
    void SetTarget(UserPrompts* target) { m_target = target; }
    UserPrompts* Target() const { return m_target; }

    QMessageBox::StandardButton ShowMessage(QWidget* owner, const MessageBoxSpec& recipe) override
    {
        return m_target ? m_target->ShowMessage(owner, recipe) : UserPrompts::ShowMessage(owner, recipe);
    }
    QStringList ChooseFiles(QWidget* owner) override
    {
        return m_target ? m_target->ChooseFiles(owner) : UserPrompts::ChooseFiles(owner);
    }
    QString ChooseFolder(QWidget* owner, const QString& title, const QString& start) override
    {
        return m_target ? m_target->ChooseFolder(owner, title, start) : UserPrompts::ChooseFolder(owner, title, start);
    }
    QString ChooseAlbumFile(QWidget* owner) override
    {
        return m_target ? m_target->ChooseAlbumFile(owner) : UserPrompts::ChooseAlbumFile(owner);
    }
    std::optional<QStringList> FilterPaths(QWidget* owner, const QStringList& paths) override
    {
        return m_target ? m_target->FilterPaths(owner, paths) : UserPrompts::FilterPaths(owner, paths);
    }

private:
    UserPrompts* m_target = nullptr;
};

} // namespace tessary
