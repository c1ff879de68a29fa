#include "Tags.h"

#include "util/Text.h"

namespace tessary {

QString TagKey(const QString& name)
{
    QString key;
    key.reserve(name.size());
    for (const QChar c : name) {
        if (!IsSpace(c))
            key.append(c);
    }
    LowerInPlace(key);
    return key;
}

Tag::Tag(Tags* list, const QString& name, int32_t id)
    : m_list(list), m_id(id), m_name(name), m_key(TagKey(name))
{
}

void Tag::SetName(const QString& name)
{
    m_name = name;
    m_key = TagKey(name);
}

Tags::Tags(Collection& owner)
    : m_owner(&owner), m_addPlaceholder(this, QStringLiteral("Double-click to add a tag"), 0)
{
}

Tags::~Tags() = default;

Tag* Tags::Add(const QString& name, int32_t id)
{
    if (id < 0) {
        id = m_counter.Allocate();
        if (id == 0)
            return nullptr;
    } else if (id == 0) {
        return nullptr;
    } else {
        m_counter.Reserve(id);
    }
    return Append(std::unique_ptr<Tag>(new Tag(this, name, id)));
}

Tag* Tags::FindByKey(const QString& nameOrKey, const Tag* exclude) const
{
    const QString key = TagKey(nameOrKey);
    for (const auto& t : m_members) {
        if (t.get() != exclude && t->Key() == key)
            return t.get();
    }
    return nullptr;
}

bool Tags::Remove(Tag* tag)
{
    if (!tag || tag->Id() <= 0 || !Contains(tag))
        return false;
    Unlink(tag);
    return true;
}

QString Tags::NewDefaultName() const
{
    return NumberedDefaultName(QStringLiteral("New Tag"));
}

void Tags::Clear(bool keepBuiltIns)
{
    if (!keepBuiltIns) {
        DestroyAll();
        return;
    }
    std::erase_if(m_members, [](const std::unique_ptr<Tag>& t) { return t->Id() > 1000; });
}

} // namespace tessary
