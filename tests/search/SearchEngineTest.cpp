#include <gtest/gtest.h>
#include <QStringList>

#include "album/Album.h"
#include "album/OwnedList.h"
#include "search/SearchEngine.h"

using namespace tessary;

namespace {
class SearchEngineTest : public ::testing::Test {
protected:
    Collection& AddCollection(const char* name) { return *album.GetCollections().Add(QString::fromUtf8(name)); }
    Item& AddItem(Collection& c, const QString& name)
    {
        return *c.GetItems().Add(name, c.GetItems().NextId());
    }
    const Collection* All() { return &album.GetCollections().AllCollections(); }

    // Parses and runs; the names of the found items, or "<failed>".
    QStringList Find(const Collection* scope, const char* query)
    {
        engine.SetScope(scope);
        if (!engine.Parse(QString::fromUtf8(query)) || !engine.Run())
            return {QStringLiteral("<failed>")};
        QStringList names;
        for (const SearchResult& r : engine.Results())
            names.append(r.item->Name());
        return names;
    }

    Album album;
    SearchEngine engine;
};
} // namespace

TEST_F(SearchEngineTest, WordStartRuleOverNamesAndValues)
{
    Collection& c = AddCollection("Cars");
    const int32_t place = c.GetTags().Add(QStringLiteral("Place"))->Id();
    for (const char* n : {"Sportscar", "Sports car", "sports-car", "Car wash", "Trip2010", "Oscar"})
        AddItem(c, QString::fromUtf8(n));
    AddItem(c, QStringLiteral("Plain")).SetTagValue(place, QStringLiteral("Carlsbad"));
    EXPECT_EQ(Find(&c, "car"), (QStringList{"Sports car", "sports-car", "Car wash", "Plain"}));
    EXPECT_EQ(Find(&c, "2010"), (QStringList{"Trip2010"}));
    EXPECT_EQ(Find(&c, "car wash"), (QStringList{"Car wash"}));
    // A phrase that begins with a letter follows the rule as well.
    EXPECT_EQ(Find(&c, "\"s car\""), QStringList());
    EXPECT_EQ(Find(&c, "\"sports car\""), (QStringList{"Sports car"}));
}

TEST_F(SearchEngineTest, CapitalDottedIFindsAndIsFoundByPlainI)
{
    Collection& c = AddCollection("Trips");
    const int32_t city = c.GetTags().Add(QStringLiteral("\u0130l"))->Id();
    AddItem(c, QStringLiteral("\u0130stanbul")).SetTagValue(city, QStringLiteral("\u0130zmir"));
    AddItem(c, QStringLiteral("istanbul 2"));
    AddItem(c, QStringLiteral("\u0131stanbul")); // dotless: another letter
    EXPECT_EQ(Find(&c, "istanbul"), (QStringList{QStringLiteral("\u0130stanbul"), QStringLiteral("istanbul 2")}));
    EXPECT_EQ(Find(&c, "\u0130STANBUL"), (QStringList{QStringLiteral("\u0130stanbul"), QStringLiteral("istanbul 2")}));
    EXPECT_EQ(Find(&c, "il:izmir"), QStringList{QStringLiteral("\u0130stanbul")}) << "the tag key is \"il\"";
    EXPECT_EQ(Find(&c, "izmir"), QStringList{QStringLiteral("\u0130stanbul")});
    ASSERT_EQ(Find(&c, "stanbul"), QStringList());
    ASSERT_EQ(Find(&c, "istanbul"), (QStringList{QStringLiteral("\u0130stanbul"), QStringLiteral("istanbul 2")}));
    SearchResult& r = engine.Results()[0];
    ASSERT_TRUE(engine.BuildResultTexts(r));
    EXPECT_EQ(r.nameMarkup, QStringLiteral("<color bg=#FFEB64>\u0130stanbul</color>"));
}

TEST_F(SearchEngineTest, ExactTermsCompareCollapsedText)
{
    Collection& c = AddCollection("C");
    AddItem(c, QStringLiteral("  Red \t Car "));
    AddItem(c, QStringLiteral("Red Cars"));
    AddItem(c, QStringLiteral("red car"));
    EXPECT_EQ(Find(&c, "itemname:=\"red car\""), (QStringList{"  Red \t Car ", "red car"}));
    // Without quotes: the exact term "red" and the bare word "car".
    EXPECT_EQ(Find(&c, "itemname:=red car"), QStringList());
    EXPECT_EQ(Find(&c, "itemname:red"), (QStringList{"  Red \t Car ", "Red Cars", "red car"}));
}

TEST_F(SearchEngineTest, TagTermsNeedTheTagInTheItemsCollection)
{
    Collection& noPlace = AddCollection("No place");
    AddItem(noPlace, QStringLiteral("Paris at night"));
    Collection& withPlace = AddCollection("With place");
    const int32_t place = withPlace.GetTags().Add(QStringLiteral("Place"))->Id();
    const int32_t shotOn = withPlace.GetTags().Add(QStringLiteral("Shot On"))->Id();
    AddItem(withPlace, QStringLiteral("One")).SetTagValue(place, QStringLiteral("Paris"));
    AddItem(withPlace, QStringLiteral("Two")).SetTagValue(shotOn, QStringLiteral("Canon"));
    AddItem(withPlace, QStringLiteral("Paris too"));

    EXPECT_EQ(Find(&noPlace, "place:paris"), QStringList());
    EXPECT_EQ(Find(All(), "place:paris"), (QStringList{"One"}));
    EXPECT_EQ(Find(All(), "paris"), (QStringList{"Paris at night", "One", "Paris too"}));
    EXPECT_EQ(Find(All(), "ShotOn:canon"), (QStringList{"Two"}));
    EXPECT_EQ(Find(All(), "SHOTON:=CANON"), (QStringList{"Two"}));
    EXPECT_EQ(Find(All(), "nosuchtag:x"), QStringList());
    // Every term must hold.
    EXPECT_EQ(Find(All(), "paris place:paris"), (QStringList{"One"}));
    EXPECT_EQ(Find(All(), "paris itemname:one"), (QStringList{"One"}));
    // An empty quoted value parses but finds nothing.
    EXPECT_EQ(Find(All(), "place:\"  \""), QStringList());
}

TEST_F(SearchEngineTest, OnlyValidRecordsAreSearched)
{
    Collection& c = AddCollection("C");
    Tag* gone = c.GetTags().Add(QStringLiteral("Gone"));
    const int32_t goneId = gone->Id();
    const int32_t kept = c.GetTags().Add(QStringLiteral("Kept"))->Id();
    Item& a = AddItem(c, QStringLiteral("A"));
    a.SetTagValue(goneId, QStringLiteral("zebra"));
    a.SetTagValue(kept, QStringLiteral("lion"));
    EXPECT_EQ(Find(&c, "zebra"), (QStringList{"A"}));
    ASSERT_TRUE(c.GetTags().Remove(gone));
    // The value of a removed tag stays on the item but is no longer found.
    EXPECT_EQ(Find(&c, "zebra"), QStringList());
    EXPECT_EQ(Find(&c, "lion"), (QStringList{"A"}));
    // A tag of the same name in another collection does not make it valid.
    Collection& other = AddCollection("Other");
    other.GetTags().Add(QStringLiteral("Gone"));
    EXPECT_EQ(Find(All(), "zebra"), QStringList());
}

TEST_F(SearchEngineTest, ResultsComeGroupedInCollectionAndItemOrder)
{
    Collection& c1 = AddCollection("First");
    Collection& c2 = AddCollection("Second");
    AddItem(c2, QStringLiteral("sun 3"));
    AddItem(c1, QStringLiteral("sun 1"));
    AddItem(c2, QStringLiteral("sun 4"));
    AddItem(c1, QStringLiteral("moon"));
    AddItem(c1, QStringLiteral("sun 2"));
    EXPECT_EQ(Find(All(), "sun"), (QStringList{"sun 1", "sun 2", "sun 3", "sun 4"}));
    ASSERT_TRUE(album.GetCollections().Reorder({&c2, &c1}));
    EXPECT_EQ(Find(All(), "sun"), (QStringList{"sun 3", "sun 4", "sun 1", "sun 2"}));
    EXPECT_EQ(Find(&c1, "sun"), (QStringList{"sun 1", "sun 2"}));
}

TEST_F(SearchEngineTest, ParseAndRunFailures)
{
    EXPECT_FALSE(engine.Parse(QStringLiteral("x"))); // no scope
    engine.SetScope(All());
    ASSERT_TRUE(engine.Parse(QStringLiteral("x")));
    EXPECT_FALSE(engine.Run()); // "All Collections" of an album without collections
    Collection& c = AddCollection("C");
    EXPECT_TRUE(engine.Run());
    EXPECT_TRUE(engine.Results().empty());

    engine.SetScope(&c);
    ASSERT_TRUE(engine.Parse(QStringLiteral("abc")));
    // An empty query keeps the previous terms; blanks only clear them.
    EXPECT_FALSE(engine.Parse(QString()));
    EXPECT_EQ(engine.Terms().size(), 1u);
    EXPECT_FALSE(engine.Parse(QStringLiteral("   ")));
    EXPECT_TRUE(engine.Terms().empty());
    EXPECT_FALSE(engine.Run());
    EXPECT_FALSE(engine.Parse(QStringLiteral("=x")));

    ASSERT_TRUE(engine.Parse(QStringLiteral("abc")));
    engine.Reset();
    EXPECT_EQ(engine.Scope(), nullptr);
    EXPECT_TRUE(engine.Terms().empty());
    EXPECT_FALSE(engine.Run());
}

TEST_F(SearchEngineTest, ChangedTextsAreNeverMatchedInTheirOldForm)
{
    Collection& c = AddCollection("C");
    const int32_t place = c.GetTags().Add(QStringLiteral("Place"))->Id();
    Item& a = AddItem(c, QStringLiteral("Beach"));
    Item& b = AddItem(c, QStringLiteral("Forest"));
    a.SetTagValue(place, QStringLiteral("Oslo"));
    EXPECT_EQ(Find(&c, "beach"), (QStringList{"Beach"}));
    EXPECT_EQ(Find(All(), "oslo"), (QStringList{"Beach"}));

    a.SetName(QStringLiteral("Beech")); // same length, rewritten in place
    EXPECT_EQ(Find(&c, "beach"), QStringList());
    EXPECT_EQ(Find(&c, "beech"), (QStringList{"Beech"}));
    a.SetName(QStringLiteral("A much longer beach name")); // longer: goes elsewhere
    EXPECT_EQ(Find(&c, "beach"), (QStringList{"A much longer beach name"}));
    EXPECT_EQ(Find(&c, "beech"), QStringList());

    a.SetTagValue(place, QStringLiteral("Lima"));
    EXPECT_EQ(Find(All(), "oslo"), QStringList());
    EXPECT_EQ(Find(All(), "lima"), (QStringList{"A much longer beach name"}));
    b.SetTagValue(place, QStringLiteral("Oslo")); // a new record
    EXPECT_EQ(Find(All(), "oslo"), (QStringList{"Forest"}));
    a.SetTagValue(place, QString()); // kept as an invalid record
    EXPECT_EQ(Find(All(), "lima"), QStringList());

    // Items reordered, added and removed.
    ASSERT_TRUE(c.GetItems().Reorder({&b, &a}));
    EXPECT_EQ(Find(&c, "forest beech long"), QStringList());
    EXPECT_EQ(Find(&c, "o"), (QStringList{"Forest"}));
    AddItem(c, QStringLiteral("Oak"));
    EXPECT_EQ(Find(&c, "o"), (QStringList{"Forest", "Oak"}));
    ASSERT_TRUE(c.GetItems().Remove(&b));
    EXPECT_EQ(Find(&c, "o"), (QStringList{"Oak"}));

    // A changed tag name is looked up anew.
    c.GetTags().FindById(place)->SetName(QStringLiteral("Town"));
    c.GetItems().At(0)->SetTagValue(place, QStringLiteral("Bergen"));
    EXPECT_EQ(Find(&c, "place:bergen"), QStringList());
    EXPECT_EQ(Find(&c, "town:bergen"), (QStringList{"A much longer beach name"}));
}

TEST_F(SearchEngineTest, EveryKindOfModelChangeIsSeen)
{
    Collection& c = AddCollection("C");
    const int32_t tag = c.GetTags().Add(QStringLiteral("T"))->Id();
    Item& a = AddItem(c, QStringLiteral("Alpha"));
    Item& b = AddItem(c, QStringLiteral("Beta"));
    a.SetTagValue(tag, QStringLiteral("red"));
    b.SetTagValue(tag, QStringLiteral("blue"));
    ASSERT_EQ(Find(All(), "red"), (QStringList{"Alpha"}));

    a.GetRecords().Assign({Record{tag, QStringLiteral("green")}});
    EXPECT_EQ(Find(All(), "red"), QStringList());
    EXPECT_EQ(Find(All(), "green"), (QStringList{"Alpha"}));
    a.GetRecords().Clear();
    EXPECT_EQ(Find(All(), "green"), QStringList());
    c.GetItems().ClearAllTagValues();
    EXPECT_EQ(Find(All(), "blue"), QStringList());

    a.SetTagValue(tag, QStringLiteral("shared"));
    b.SetTagValue(tag, QStringLiteral("shared"));
    ASSERT_EQ(Find(All(), "shared"), (QStringList{"Alpha", "Beta"}));

    // The base class's reorder does not mark the collection; the item list is compared anyway.
    OwnedList<Item>& base = c.GetItems();
    ASSERT_TRUE(base.Reorder({&b, &a}));
    EXPECT_EQ(Find(All(), "shared"), (QStringList{"Beta", "Alpha"}));

    // A removed item's place taken by a new item (possibly at the same address).
    ASSERT_TRUE(c.GetItems().Remove(&a));
    AddItem(c, QStringLiteral("Gamma")).SetTagValue(tag, QStringLiteral("shared"));
    EXPECT_EQ(Find(All(), "shared"), (QStringList{"Beta", "Gamma"}));
    EXPECT_EQ(Find(All(), "alpha"), QStringList());
    c.GetItems().Clear(false);
    EXPECT_EQ(Find(All(), "beta"), QStringList());

    // A collection removed and another made, possibly at the same address.
    Collection& d = AddCollection("D");
    AddItem(d, QStringLiteral("Delta"));
    EXPECT_EQ(Find(All(), "delta"), (QStringList{"Delta"}));
    ASSERT_TRUE(album.GetCollections().Remove(&d));
    Collection& e = AddCollection("E");
    AddItem(e, QStringLiteral("Epsilon"));
    EXPECT_EQ(Find(All(), "delta"), QStringList());
    EXPECT_EQ(Find(All(), "epsilon"), (QStringList{"Epsilon"}));
}

TEST_F(SearchEngineTest, NormalisedFormsAreKeptBetweenSearches)
{
    Collection& c = AddCollection("C");
    const int32_t place = c.GetTags().Add(QStringLiteral("Place"))->Id();
    for (int i = 0; i < 50; ++i)
        AddItem(c, QStringLiteral("Item %1").arg(i)).SetTagValue(place, QStringLiteral("Value %1").arg(i));
    EXPECT_EQ(Find(&c, "item").size(), 50);
    const int64_t once = engine.Index().GetStats().normalized;
    EXPECT_EQ(once, 100);
    EXPECT_EQ(Find(&c, "value").size(), 50);
    EXPECT_EQ(engine.Index().GetStats().normalized, once);
    EXPECT_EQ(engine.Index().GetStats().checked, 0); // nothing changed: not even compared
    // An equal string in a new buffer is recognised without normalising again.
    c.GetItems().At(3)->SetName(QStringLiteral("Item ") + QString::number(3));
    EXPECT_EQ(Find(&c, "item").size(), 50);
    EXPECT_EQ(engine.Index().GetStats().normalized, once);
    EXPECT_EQ(engine.Index().GetStats().checked, 1);
    c.GetItems().At(3)->SetName(QStringLiteral("Other"));
    EXPECT_EQ(Find(&c, "item").size(), 49);
    EXPECT_EQ(engine.Index().GetStats().normalized, once + 1);
}

TEST_F(SearchEngineTest, ResultTextsHighlightNameAndLastMatchingValue)
{
    Collection& c = AddCollection("C");
    const int32_t place = c.GetTags().Add(QStringLiteral("Place"))->Id();
    const int32_t who = c.GetTags().Add(QStringLiteral("Who & <why>"))->Id();
    Item& a = AddItem(c, QStringLiteral("Red Car"));
    a.SetTagValue(who, QStringLiteral("red team"));
    a.SetTagValue(place, QStringLiteral("Red Square"));
    Item& b = AddItem(c, QStringLiteral("red boat"));
    b.SetTagValue(who, QStringLiteral("Ann"));
    b.SetTagValue(place, QStringLiteral("Oslo"));

    ASSERT_EQ(Find(&c, "red"), (QStringList{"Red Car", "red boat"}));
    SearchResult& ra = engine.Results()[0];
    ASSERT_TRUE(engine.BuildResultTexts(ra));
    EXPECT_EQ(ra.nameMarkup, QStringLiteral("<color bg=#FFEB64>Red</color>&nbsp;Car"));
    // The last record with a match wins.
    EXPECT_EQ(ra.detailMarkup,
              QStringLiteral("<color fg=#828A99>Place: </color><color bg=#FFEB64>Red</color>&nbsp;Square"));

    ASSERT_EQ(Find(&c, "red itemname:red place:red"), (QStringList{"Red Car"}));
    ASSERT_TRUE(engine.BuildResultTexts(engine.Results()[0]));
    // Tag terms are not drawn in the name, item-name terms not in values.
    EXPECT_EQ(engine.Results()[0].nameMarkup, QStringLiteral("<color bg=#FFEB64>Red</color>&nbsp;Car"));

    // Without a highlighted value, the last valid record stands, its tag name escaped.
    ASSERT_EQ(Find(&c, "boat"), (QStringList{"red boat"}));
    SearchResult& rb = engine.Results()[0];
    ASSERT_TRUE(engine.BuildResultTexts(rb));
    EXPECT_EQ(rb.detailMarkup, QStringLiteral("<color fg=#828A99>Place: </color>Oslo"));
    b.SetTagValue(place, QString());
    ASSERT_TRUE(engine.BuildResultTexts(rb));
    EXPECT_EQ(rb.detailMarkup, QStringLiteral("<color fg=#828A99>Who&nbsp;&amp;&nbsp;&lt;why&gt;: </color>Ann"));
    b.SetTagValue(who, QString());
    ASSERT_TRUE(engine.BuildResultTexts(rb));
    EXPECT_EQ(rb.detailMarkup, QString());

    SearchResult none;
    EXPECT_FALSE(engine.BuildResultTexts(none));
    engine.Reset();
    EXPECT_FALSE(engine.BuildResultTexts(rb));
}

TEST_F(SearchEngineTest, TagValueHighlight)
{
    Collection& c = AddCollection("C");
    engine.SetScope(&c);
    ASSERT_TRUE(engine.Parse(QStringLiteral("itemname:paris place:paris \"new york\"")));
    EXPECT_EQ(engine.HighlightTagValue(QStringLiteral("other"), QStringLiteral("Paris, New  York")),
              QStringLiteral("<color bg=#FFEB64>Paris</color>,&nbsp;<color bg=#FFEB64>New&nbsp;&nbsp;York</color>"));
    EXPECT_EQ(engine.HighlightTagValue(QString(), QStringLiteral("Paris")), QString());
    EXPECT_EQ(engine.HighlightTagValue(QStringLiteral("place"), QString()), QString());
    EXPECT_EQ(engine.Highlight(QStringLiteral("Paris"), TermKindTag),
              QStringLiteral("<color bg=#FFEB64>Paris</color>"));
}
