#pragma once
// The large album of the search benchmarks: 10 collections of 10,000 items, 8 tags per
// collection, 5 values per item, the same on every run.
#include <memory>
#include <QString>
#include <QStringList>

#include "album/Album.h"

namespace tessary::bench {

inline const QStringList kNameWords = {"Beach", "Sunset", "Harbour", "Garden", "Mountain", "Birthday", "Wedding",
                                "Market", "Bridge", "Castle", "Forest", "River", "Snow", "Picnic", "Concert"};
inline const QStringList kPlaces = {"Paris", "New York", "Lisbon", "Kyoto", "Cape Town", "Oslo", "Lima", "Vienna",
                             "San Francisco", "Reykjavik", "Hanoi", "Dublin"};
inline const QStringList kPeople = {"Anna", "Ben", "Carla", "Dmitri", "Eva", "Farid", "Grace", "Hiro", "Ines", "Jonas"};
inline const QStringList kTagNames = {"Place", "People", "Camera", "Event", "Weather", "Shot On", "Rating", "Notes"};

// A small deterministic generator so that every run builds the same album.
struct Lcg {
    uint32_t s = 12345;
    uint32_t Next() { return s = s * 1664525u + 1013904223u; }
    int Below(int n) { return int((Next() >> 8) % uint32_t(n)); }
};

inline QString ValueFor(int tag, Lcg& rng, int item)
{
    switch (tag) {
    case 0: return kPlaces[rng.Below(kPlaces.size())];
    case 1: return kPeople[rng.Below(kPeople.size())] + QStringLiteral(" and ") + kPeople[rng.Below(kPeople.size())];
    case 2: return QStringLiteral("Model %1").arg(rng.Below(40));
    case 3: return kNameWords[rng.Below(kNameWords.size())] + QStringLiteral(" trip");
    case 4: return rng.Below(2) ? QStringLiteral("Sunny") : QStringLiteral("Cloudy, light rain");
    case 5: return QStringLiteral("Lens %1mm").arg(18 + rng.Below(180));
    case 6: return QString::number(1 + rng.Below(5));
    default: return QStringLiteral("Roll %1, frame %2").arg(item / 36).arg(item % 36);
    }
}

inline Album& BigAlbum()
{
    static std::unique_ptr<Album> album = [] {
        auto a = std::make_unique<Album>();
        Lcg rng;
        for (int c = 0; c < 10; ++c) {
            Collection* col = a->GetCollections().Add(QStringLiteral("Collection %1").arg(c + 1));
            std::vector<int32_t> tagIds;
            for (const QString& t : kTagNames)
                tagIds.push_back(col->GetTags().Add(t)->Id());
            for (int i = 0; i < 10000; ++i) {
                const QString name = QStringLiteral("%1 %2 %3")
                                         .arg(kNameWords[rng.Below(kNameWords.size())])
                                         .arg(kNameWords[rng.Below(kNameWords.size())])
                                         .arg(2000 + i);
                Item* item = col->GetItems().Add(name, i + 1);
                // 5 of the 8 tags, starting at a varying tag.
                const int first = rng.Below(8);
                for (int k = 0; k < 5; ++k) {
                    const int tag = (first + k) % 8;
                    item->SetTagValue(tagIds[size_t(tag)], ValueFor(tag, rng, i));
                }
            }
        }
        return a;
    }();
    return *album;
}

} // namespace tessary::bench
