#include "output_naming.h"

#include <gtest/gtest.h>

namespace vantilo {
namespace {

NamingChoice Affix(int position, const std::string& affix) {
  NamingChoice c;
  c.mode = Naming::Affix;
  c.affixPosition = position;
  c.affix = affix;
  return c;
}

NamingChoice Folder(const std::string& name) {
  NamingChoice c;
  c.mode = Naming::Folder;
  c.folderName = name;
  return c;
}

TEST(OutputNaming, AffixBeforeAndAfterTheName) {
  const std::string base = ReplaceExtension("C:\\photos\\a.JPEG", ".jpg");
  const OutputPlan before = PlanOutput(base, Affix(0, "s-"));
  ASSERT_TRUE(before.write);
  EXPECT_EQ(before.outputPath, "C:\\photos\\s-a.jpg");
  EXPECT_EQ(before.pageFolder, "C:\\photos\\");
  EXPECT_EQ(before.pageLine, "<a href=\"a.jpg\"><img src=\"s-a.jpg\" border=\"0\"></a>");

  const OutputPlan after = PlanOutput("C:\\photos\\a.jpg", Affix(1, "_small"));
  ASSERT_TRUE(after.write);
  EXPECT_EQ(after.outputPath, "C:\\photos\\a_small.jpg");
  EXPECT_EQ(after.pageLine, "<a href=\"a.jpg\"><img src=\"a_small.jpg\" border=\"0\"></a>");
  EXPECT_TRUE(after.folderToCreate.empty());
}

TEST(OutputNaming, NoAffixPositionWritesNothing) {
  for (int position : {-1, 2}) {
    const OutputPlan p = PlanOutput("C:\\photos\\a.jpg", Affix(position, "s-"));
    EXPECT_FALSE(p.write);
    EXPECT_TRUE(p.outputPath.empty());
    EXPECT_TRUE(p.pageLine.empty());
  }
}

TEST(OutputNaming, EmptyAffixBecomesTheDefault) {
  EXPECT_EQ(EffectiveAffix(""), "s-");
  EXPECT_EQ(EffectiveAffix(" "), " ");
  EXPECT_EQ(PlanOutput("C:\\p\\a.jpg", Affix(0, EffectiveAffix(""))).outputPath, "C:\\p\\s-a.jpg");
}

TEST(OutputNaming, FolderNamingWritesIntoTheSubfolderAndLinksUp) {
  const OutputPlan p = PlanOutput("C:\\photos\\a.jpg", Folder("Resized"));
  ASSERT_TRUE(p.write);
  EXPECT_EQ(p.folderToCreate, "C:\\photos\\Resized");
  EXPECT_EQ(p.outputPath, "C:\\photos\\Resized\\a.jpg");
  EXPECT_EQ(p.pageFolder, "C:\\photos\\Resized\\");
  EXPECT_EQ(p.pageLine, "<a href=\"../a.jpg\"><img src=\"a.jpg\" border=\"0\"></a>");
}

TEST(OutputNaming, DoubleByteNamesGoIntoThePageLineWhole) {
  const std::string name = "my & \"pic\" \x95\x5C";
  const std::string linked = "my &amp; &quot;pic&quot; \x95\x5C";
  const OutputPlan p = PlanOutput("C:\\p\\" + name + ".jpg", Affix(0, "s-"));
  EXPECT_EQ(p.pageLine, "<a href=\"" + linked + ".jpg\"><img src=\"s-" + linked + ".jpg\" border=\"0\"></a>");
  // The stem of a double-byte name keeps its trail byte in affix-after naming.
  EXPECT_EQ(PlanOutput("C:\\p\\" + name + ".jpg", Affix(1, "_s")).outputPath, "C:\\p\\" + name + "_s.jpg");
}

TEST(OutputNaming, FolderNamesThatResolveToTheSourceFolder) {
  const std::string src = "C:\\photos\\";
  for (const char* same : {"", ".", ".\\", "./.", "..\\photos", "..\\PHOTOS\\.", "x\\..", "x\\..\\.", ". .", "...", "sub\\..\\"})
    EXPECT_TRUE(SameFolderByName(src + same, src)) << '"' << same << '"';
  for (const char* other : {"Resized", "..", "..\\other", "x\\y\\..", ".hidden", "a.b", "photos"})
    EXPECT_FALSE(SameFolderByName(src + other, src)) << '"' << other << '"';
  // A double-byte name whose trail byte is a backslash is one component.
  EXPECT_FALSE(SameFolderByName("C:\\p\\\x95\x5C..", "C:\\p\\"));
  EXPECT_TRUE(SameFolderByName("C:\\p\\\x95\x5C\\..", "C:\\p\\"));
}

TEST(OutputNaming, PageFileNamePerDay) {
  EXPECT_EQ(PageFileName(2002, 12, 31), "20021231.html");
  EXPECT_EQ(PageFileName(2026, 1, 5), "20260105.html");
}

}  // namespace
}  // namespace vantilo

namespace vantilo {
namespace {

TEST(PageLine, NamesThatWouldBreakTheLinkOrMarkupAreEscaped) {
  const OutputPlan folder = PlanOutput("C:\\p\\50% #1?&<2>\".jpg", Folder("Resized"));
  EXPECT_EQ(folder.pageLine,
            "<a href=\"../50%25 %231%3F&amp;&lt;2&gt;&quot;.jpg\"><img src=\"50%25 %231%3F&amp;&lt;2&gt;&quot;.jpg\" "
            "border=\"0\"></a>");
  // The affix is part of the shrunk file's name, and escaped with it.
  const OutputPlan before = PlanOutput("C:\\p\\a&b.jpg", Affix(0, "#"));
  EXPECT_EQ(before.pageLine, "<a href=\"a&amp;b.jpg\"><img src=\"%23a&amp;b.jpg\" border=\"0\"></a>");
  const OutputPlan after = PlanOutput("C:\\p\\a.jpg", Affix(1, "%"));
  EXPECT_EQ(after.pageLine, "<a href=\"a.jpg\"><img src=\"a%25.jpg\" border=\"0\"></a>");
  // The output files keep their names.
  EXPECT_EQ(before.outputPath, "C:\\p\\#a&b.jpg");
  EXPECT_EQ(after.outputPath, "C:\\p\\a%.jpg");
}

TEST(PageLine, EverythingElseStaysAsItIs) {
  // Spaces, other punctuation and double-byte names ("表示", trail byte 0x5C).
  const std::string name = "a b+c=d;e,f'g\x95\x5C\x8E\xA6~!.jpg";
  const OutputPlan p = PlanOutput("C:\\p\\" + name, Folder("Resized"));
  EXPECT_EQ(p.pageLine, "<a href=\"../" + name + "\"><img src=\"" + name + "\" border=\"0\"></a>");
}

}  // namespace
}  // namespace vantilo
