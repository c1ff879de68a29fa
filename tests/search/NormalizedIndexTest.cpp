// Building the normalised forms ahead, in slices: the result must be what a search would
// have built itself, and changes between slices must never leave an old form behind.

#include <gtest/gtest.h>

#include "album/Album.h"
#include "search/NormalizedIndex.h"
#include "search/SearchEngine.h"

using namespace tessary;

namespace {

class NormalizedIndexTest : public ::testing::Test {
protected:
    Collection& Fill(int count)
    {
        Collection& c = *album.GetCollections().Add(QStringLiteral("Trips"));
        const int32_t place = c.GetTags().Add(QStringLiteral("Place"))->Id();
        for (int i = 0; i < count; ++i) {
            Item* item = c.GetItems().Add(QStringLiteral("Ångström %1").arg(i), i + 1);
            if (i % 2)
                item->SetTagValue(place, QStringLiteral("Isle %1").arg(i));
        }
        return c;
    }

    // Every item's texts as the forms hold them.
    static std::vector<std::u16string> Texts(const NormalizedIndex::Forms& forms)
    {
        std::vector<std::u16string> texts;
        for (size_t i = 0; i < forms.ItemCount(); ++i)
            for (size_t k = 0; k < forms.SlotCount(i); ++k) {
                const QStringView t = forms.Text(forms.SlotsOf(i)[k]);
                texts.emplace_back(reinterpret_cast<const char16_t*>(t.utf16()), size_t(t.size()));
            }
        return texts;
    }

    Album album;
};

} // namespace

TEST_F(NormalizedIndexTest, SlicesEndInTheFormsASearchWouldBuild)
{
    Collection& c = Fill(10);
    NormalizedIndex sliced;
    EXPECT_FALSE(sliced.Prepare(c, 4));
    EXPECT_FALSE(sliced.Prepare(c, 4));
    EXPECT_TRUE(sliced.Prepare(c, 4));
    EXPECT_EQ(sliced.GetStats().normalized, 15); // 10 names, 5 values
    EXPECT_TRUE(sliced.Prepare(c, 4));            // done: nothing more
    EXPECT_EQ(sliced.GetStats().normalized, 15);

    const NormalizedIndex::Forms& prepared = sliced.Update(c);
    EXPECT_EQ(sliced.GetStats().normalized, 15); // trusted as they are
    EXPECT_EQ(sliced.GetStats().checked, 0);

    NormalizedIndex direct;
    EXPECT_EQ(Texts(prepared), Texts(direct.Update(c)));
}

TEST_F(NormalizedIndexTest, AChangeBetweenSlicesStartsAgain)
{
    Collection& c = Fill(6);
    NormalizedIndex index;
    EXPECT_FALSE(index.Prepare(c, 4));
    c.GetItems().At(1)->SetName(QStringLiteral("Renamed"));       // already normalised
    c.GetItems().Remove(c.GetItems().At(5));                      // not reached yet
    c.GetItems().At(4)->SetTagValue(1001, QStringLiteral("NEW")); // a record on an even item
    while (!index.Prepare(c, 4)) {
    }
    NormalizedIndex direct;
    const auto texts = Texts(index.Update(c));
    EXPECT_EQ(texts, Texts(direct.Update(c)));
    EXPECT_EQ(texts.size(), size_t(5 + 3)); // 5 names; values of items 1, 3 and 4
}

TEST_F(NormalizedIndexTest, APreparedEngineSearchesWithoutNormalisingAgain)
{
    Collection& c = Fill(50);
    SearchEngine engine;
    int slices = 1;
    while (!engine.PrepareForms(c, 7))
        ++slices;
    EXPECT_EQ(slices, 8);
    const int64_t prepared = engine.Index().GetStats().normalized;
    EXPECT_EQ(prepared, 75);
    engine.SetScope(&album.GetCollections().AllCollections());
    ASSERT_TRUE(engine.Parse(QStringLiteral("isle")));
    ASSERT_TRUE(engine.Run());
    EXPECT_EQ(engine.Results().size(), size_t(25));
    EXPECT_EQ(engine.Index().GetStats().normalized, prepared);
    EXPECT_EQ(engine.Index().GetStats().checked, 0);
}
