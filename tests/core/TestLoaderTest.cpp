#include "TestLoader.h"

#include "Errors.h"
#include "TestFixtures.h"

#include <gtest/gtest.h>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

class LoadTestFileTest : public ::testing::Test {
protected:
    void Load(const std::string& path) { LoadTestFile(path, loaded, box, regional, measure); }
    void ExpectRejected(const std::string& path) {
        EXPECT_FALSE(loaded.test);
        EXPECT_EQ(box.Directory.text, path);
        EXPECT_EQ(box.Linia1.text, kRejectedTestText);
        for (const TControl* c : {&box.Linia2, &box.TSName, &box.TSAutor, &box.TSData, &box.TSPyt,
                                  &box.TSPkt, &box.TSSam})
            EXPECT_EQ(c->text, "");
        EXPECT_FALSE(box.SpeedButton3.visible);
        EXPECT_FALSE(box.SpeedButton3.enabled);
    }

    TTempDir dir;
    TLoadedTest loaded;
    TTestBoxView box;
    TFakeRegional regional;
    TFakeMeasure measure;
};

} // namespace

TEST_F(LoadTestFileTest, AcceptedTestFillsTheBoxAsStored) {
    auto lines = ValidTestLines(3);
    lines[4] = "+3"; // shown as stored, converted where computed with
    const std::string path = dir.Write("geografia.ts2", MakeTs2(lines));
    Load(path);
    ASSERT_TRUE(loaded.test);
    EXPECT_EQ(loaded.test->Lines(), lines);
    EXPECT_EQ(box.Directory.text, path);
    EXPECT_EQ(box.Linia1.text, "Test próbny z geografii Polski");
    EXPECT_EQ(box.Linia2.text, ""); // one display line leaves the second empty
    EXPECT_EQ(box.TSName.text, "\"Geografia\"");
    EXPECT_EQ(box.TSAutor.text, "Jan Kowalski");
    EXPECT_EQ(box.TSData.text, "06.05.2002");
    EXPECT_EQ(box.TSPyt.text, "+3");
    EXPECT_EQ(box.TSPkt.text, "6");
    EXPECT_EQ(box.TSSam.text, "0");
    EXPECT_TRUE(box.SpeedButton3.visible);
    EXPECT_TRUE(box.SpeedButton3.enabled);
}

TEST_F(LoadTestFileTest, LongDescriptionShowsItsFirstTwoDisplayLines) {
    auto lines = ValidTestLines(1);
    lines[0] = std::string(60, 'a') + " " + std::string(60, 'b') + " " + std::string(60, 'c');
    Load(dir.Write("t.ts2", MakeTs2(lines)));
    EXPECT_EQ(box.Linia1.text, std::string(60, 'a'));
    EXPECT_EQ(box.Linia2.text, std::string(60, 'b'));
}

TEST_F(LoadTestFileTest, ExtensionIsCaseSensitive) {
    const std::string content = MakeTs2(ValidTestLines(1));
    Load(dir.Write("test.TS2", content));
    EXPECT_TRUE(loaded.test);
    for (const char* name : {"test.Ts2", "test.tS2", "test.txt", "test", "test.ts2.bak"}) {
        const std::string path = dir.Write(name, content);
        Load(path);
        ExpectRejected(path);
    }
    // A dot in a folder name is no extension.
    std::filesystem::create_directories(dir.path() / "x.ts2");
    const std::string noExtension = dir.Write("x.ts2/plik", content);
    Load(noExtension);
    ExpectRejected(noExtension);
}

TEST_F(LoadTestFileTest, RejectionDiscardsTheTestLoadedBefore) {
    Load(dir.Write("dobry.ts2", MakeTs2(ValidTestLines(1))));
    ASSERT_TRUE(loaded.test);
    auto lines = ValidTestLines(1);
    lines[3] = "6 maja 2002";
    const std::string bad = dir.Write("zly.ts2", MakeTs2(lines));
    Load(bad);
    ExpectRejected(bad);
    // Binary garbage and an empty file are rejected the same way.
    Load(dir.Write("smieci.ts2", std::string("\x01\xff\x13\x10\x00zz", 7)));
    EXPECT_FALSE(loaded.test);
    Load(dir.Write("pusty.ts2", ""));
    EXPECT_EQ(box.Linia1.text, kRejectedTestText);
}

TEST_F(LoadTestFileTest, UnreadableFileThrowsAndChangesNothing) {
    const std::string good = dir.Write("dobry.ts2", MakeTs2(ValidTestLines(2)));
    Load(good);
    const TTestBoxView before = box;
    const std::string missing = (dir.path() / "brak.ts2").string();
    try {
        Load(missing);
        FAIL() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
    }
    std::filesystem::create_directories(dir.path() / "katalog.ts2");
    EXPECT_THROW(Load((dir.path() / "katalog.ts2").string()), EFOpenError);
    ASSERT_TRUE(loaded.test);
    EXPECT_EQ(loaded.test->LineCount(), 25u);
    EXPECT_EQ(box.Directory.text, before.Directory.text);
    EXPECT_EQ(box.TSPyt.text, "2");
    EXPECT_TRUE(box.SpeedButton3.enabled);
}
