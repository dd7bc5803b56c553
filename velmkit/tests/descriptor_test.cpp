#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "test_support.h"
#include "velmkit/forms.h"
#include "velmkit/pubframe.h"
#include "velmkit/strings.h"
#include "velmkit/termwin.h"

namespace velmkit {
namespace {

using testing::FixturePath;
using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

class TSmpContainer : public TVelmContainer {
  VELMKIT_CLASS(TSmpContainer)
 public:
  explicit TSmpContainer(TComponent* owner) : TVelmContainer(owner) {}
};

// A module form that knows one container class and notes every name asked.
class SampleForm : public TVelmForm {
  VELMKIT_CLASS(SampleForm)
 public:
  explicit SampleForm(TComponent* owner) : TVelmForm(owner) {}
  TVelmContainer* CreateObject(const std::string& className) override {
    Asked.push_back(className);
    if (TVelmContainer* item = TVelmForm::CreateObject(className)) return item;
    if (SameText(className, TSmpContainer::StaticClassName())) return new TSmpContainer(this);
    return nullptr;
  }
  std::vector<std::string> Asked;
};

std::string CopyFixtureProject(const TempFolder& folder) {
  std::string project = folder / "project";
  WriteText(project + "/pwa.pwa", ReadText(FixturePath("project/pwa.pwa")));
  return project;
}

class DescriptorTest : public ::testing::Test {
 protected:
  TempFolder FFolder;
  SampleForm FForm{nullptr};
};

TEST_F(DescriptorTest, OpenedProjectWritesBackByteForByte) {
  std::string project = CopyFixtureProject(FFolder);
  std::unique_ptr<TPubFrame> frame(TPubFrame::Open(project, &FForm, nullptr));
  EXPECT_EQ(frame->Serialize(), ReadText(FixturePath("project/pwa.pwa")));

  ASSERT_TRUE(frame->Save(&FForm)) << frame->LastError();
  EXPECT_EQ(ReadText(project + "/pwa.pwa"), ReadText(FixturePath("project/pwa.pwa")));
}

TEST_F(DescriptorTest, OpenBuildsItemsListsAndTerminals) {
  std::unique_ptr<TPubFrame> frame(TPubFrame::Open(CopyFixtureProject(FFolder), &FForm, nullptr));
  EXPECT_EQ(FForm.GetObject(0), frame.get());
  EXPECT_EQ(frame->PluginModule(), "sample.dll");
  EXPECT_EQ(frame->PluginProduct(), "Sample Classifier");
  ASSERT_EQ(frame->BuildList()->Count(), 2);
  EXPECT_EQ(frame->BuildList()->Strings(1), "train_all");
  auto* terminal = dynamic_cast<TTermWin*>(frame->BuildList()->Objects(1));
  ASSERT_NE(terminal, nullptr);
  EXPECT_EQ(terminal->ScriptPath(), frame->ProjectFolder() + "/train_all.bat");

  TVelmContainer* train = FForm.ObjectOfName("train", ItemClassOf<TLocContainer>());
  ASSERT_NE(train, nullptr);
  EXPECT_EQ(train->GetFileName(), frame->ProjectFolder() + "/images/train");
  TVelmContainer* sample = FForm.ObjectOfName("cats & dogs");
  ASSERT_NE(sample, nullptr);
  EXPECT_TRUE(ItemClassOf<TSmpContainer>()->IsInstance(sample));
  EXPECT_EQ(sample->GetParent(), train);
  EXPECT_EQ(sample->Owner(), train) << "the project list owns the item, not the form";
  EXPECT_NE(FForm.ObjectOfName("caf\xC3\xA9"), nullptr) << "character references read back as UTF-8";
  EXPECT_EQ(frame->ObjectOfName("HTML")->Thumbnail().value_or("none"), "thumbnail.html");
}

TEST_F(DescriptorTest, FormIsAskedOnlyForNamesVelmkitDoesNotKnow) {
  std::unique_ptr<TPubFrame> frame(TPubFrame::Open(CopyFixtureProject(FFolder), &FForm, nullptr));
  EXPECT_EQ(FForm.Asked, (std::vector<std::string>{"TSmpContainer", "TUnknownThing"}));
}

TEST_F(DescriptorTest, ElementNoClassClaimsIsKeptInPlaceAndWrittenBack) {
  std::unique_ptr<TPubFrame> frame(TPubFrame::Open(CopyFixtureProject(FFolder), &FForm, nullptr));
  TVelmContainer* train = frame->ObjectOfName("train");
  ASSERT_EQ(train->Count(), 2);
  auto* kept = dynamic_cast<TKeptElement*>(train->At(1));
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->Element().name, "TUnknownThing");

  // A class item added at run time goes last, after the kept element, and
  // has no FileName.
  auto* added = new TSmpContainer(&FForm);
  added->SetName("birds");
  added->SetParent(train);
  train->Add(added);
  std::string text = frame->Serialize();
  size_t birds = text.find("<Name>birds</Name>");
  size_t mystery = text.find("<Name>mystery</Name>");
  ASSERT_NE(birds, std::string::npos);
  EXPECT_LT(mystery, birds);
  EXPECT_NE(text.find("<Colour>blue</Colour>\r\n\t\t\t\t\t\t</TUnknownThing>\r\n\t\t\t\t\t\t<TSmpContainer>\r\n"
                      "\t\t\t\t\t\t\t<Name>birds</Name>\r\n\t\t\t\t\t\t\t<Source></Source>\r\n\t\t\t\t\t\t\t<Path></Path>\r\n"
                      "\t\t\t\t\t\t\t<FileName></FileName>\r\n\t\t\t\t\t\t</TSmpContainer>"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("<Colour>blue</Colour>"), std::string::npos);
}

TEST_F(DescriptorTest, WithoutAFormUnknownItemsAreKept) {
  std::unique_ptr<TPubFrame> frame(TPubFrame::Open(CopyFixtureProject(FFolder), nullptr, nullptr));
  EXPECT_EQ(frame->ObjectOfName("cats & dogs"), nullptr);
  EXPECT_EQ(frame->Serialize(), ReadText(FixturePath("project/pwa.pwa")));
}

TEST_F(DescriptorTest, PublicUrlIsStoredOnceSet) {
  std::string project = CopyFixtureProject(FFolder);
  {
    std::unique_ptr<TPubFrame> frame(TPubFrame::Open(project, &FForm, nullptr));
    frame->SetPublicUrl("https://example.test/apps/project/");
    ASSERT_TRUE(frame->Save(&FForm));
  }
  std::unique_ptr<TPubFrame> reopened(TPubFrame::Open(project, nullptr, nullptr));
  EXPECT_EQ(reopened->PublicUrl(), "https://example.test/apps/project/");
  EXPECT_EQ(TPubFrame::ReadPluginModule(project), "sample.dll");
}

TEST_F(DescriptorTest, SaveThatCannotEncodeLeavesTheOldFile) {
  std::string project = CopyFixtureProject(FFolder);
  std::unique_ptr<TPubFrame> frame(TPubFrame::Open(project, &FForm, nullptr));
  const std::string bad[] = {std::string("bad\xC3", 4), std::string("bell\x07"), std::string("\xED\xA0\x80")};
  TVelmContainer* item = frame->ObjectOfName("train_all");
  ASSERT_NE(item, nullptr);
  for (const std::string& name : bad) {
    item->SetName(name);
    EXPECT_FALSE(frame->Save(&FForm));
    EXPECT_NE(frame->LastError().find("pwa.pwa"), std::string::npos);
    EXPECT_EQ(ReadText(project + "/pwa.pwa"), ReadText(FixturePath("project/pwa.pwa")));
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(project), std::filesystem::directory_iterator()), 1)
      << "no temporary file is left behind";
}

TEST_F(DescriptorTest, SaveKeepsTheFileModeAndWritesNonAsciiAsReferences) {
  std::string project = CopyFixtureProject(FFolder);
  chmod((project + "/pwa.pwa").c_str(), 0640);
  std::unique_ptr<TPubFrame> frame(TPubFrame::Open(project, &FForm, nullptr));
  frame->ObjectOfName("train_all")->SetName("\xE2\x82\xAC <1>");
  ASSERT_TRUE(frame->Save(&FForm));
  struct stat info {};
  stat((project + "/pwa.pwa").c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_NE(ReadText(project + "/pwa.pwa").find("<Name>&#8364; &lt;1&gt;</Name>"), std::string::npos);
}

// Descriptor text around one item, for the refusal cases.
std::string DescriptorWithItem(const std::string& item) {
  return "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\r\n<TPwaFrame>\r\n\t<PluginModule>x.dll</PluginModule>\r\n"
         "\t<list>\r\n" + item + "\r\n\t</list>\r\n</TPwaFrame>";
}

std::string Item(const std::string& name, const std::string& fileName) {
  return "\t\t<TLocContainer>\r\n\t\t\t<Name>" + name + "</Name>\r\n\t\t\t<FileName>" + fileName +
         "</FileName>\r\n\t\t</TLocContainer>";
}

TEST_F(DescriptorTest, RefusesBadDescriptorsNamingFileAndLine) {
  struct Case {
    const char* what;
    std::string text;
    int line;
    const char* message;
  };
  const Case cases[] = {
      {"parent folder", DescriptorWithItem(Item("a", "..\\secret")), 5, "leads outside the project folder"},
      {"nested climb", DescriptorWithItem(Item("a", "images\\..\\..\\x")), 5, "leads outside"},
      {"absolute", DescriptorWithItem(Item("a", "/etc/passwd")), 5, "leads outside"},
      {"drive", DescriptorWithItem(Item("a", "C:\\Windows")), 5, "leads outside"},
      {"name with separator", DescriptorWithItem(Item("..\\up", "x")), 5, "not a plain name"},
      {"dot dot name", DescriptorWithItem(Item("..", "x")), 5, "not a plain name"},
      {"empty name", DescriptorWithItem(Item("", "x")), 5, "not a plain name"},
      {"unclosed", DescriptorWithItem("\t\t<TLocContainer>\r\n\t\t\t<Name>a</Name>"), 7, "malformed XML"},
      {"attribute", DescriptorWithItem("\t\t<TLocContainer kind=\"x\">\r\n\t\t</TLocContainer>"), 5, "attribute"},
      {"not ascii", DescriptorWithItem(Item("caf\xC3\xA9", "x")), 6, "not US-ASCII"},
      {"wrong root", "<?xml version=\"1.0\"?>\r\n<Project></Project>", 2, "not <TPwaFrame>"},
      {"bad list", "<TPwaFrame>\r\n<BuildList>\"a\",b</BuildList>\r\n</TPwaFrame>", 2, "double quote"},
      {"twice", "<TPwaFrame>\r\n<list></list>\r\n<list></list>\r\n</TPwaFrame>", 3, "appears twice"},
      {"empty file", "", 1, "malformed XML"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    WriteText(folder / "pwa.pwa", c.text);
    SampleForm form(nullptr);
    try {
      std::unique_ptr<TPubFrame> frame(TPubFrame::Open(folder.Path(), &form, nullptr));
      ADD_FAILURE() << c.what << ": opened";
    } catch (const DescriptorError& error) {
      EXPECT_EQ(error.Line(), c.line) << c.what << ": " << error.what();
      EXPECT_NE(std::string(error.what()).find(folder / "pwa.pwa"), std::string::npos) << c.what;
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.what << ": " << error.what();
    }
    EXPECT_EQ(form.GetObject(0), nullptr) << c.what << ": a refused project is not attached";
    EXPECT_EQ(form.ComponentCount(), 0) << c.what << ": nothing half-built is left";
  }
}

TEST_F(DescriptorTest, MissingDescriptorIsReported) {
  EXPECT_THROW(TPubFrame::Open(FFolder.Path(), &FForm, nullptr), DescriptorError);
  EXPECT_THROW(TPubFrame::ReadPluginModule(FFolder.Path()), DescriptorError);
}

TEST(QuotedList, ReadsAndWritesTheDescriptorNotation) {
  struct Case {
    const char* text;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {"", {}},
      {"\"HTML\"", {"HTML"}},
      {"\"HTML\",\"train_all\"", {"HTML", "train_all"}},
      {"\"a,b\",\"say \"\"hi\"\"\"", {"a,b", "say \"hi\""}},
      {"\"\"", {""}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetQuotedText(c.text);
    ASSERT_EQ(list.Count(), static_cast<int>(c.entries.size())) << c.text;
    for (size_t i = 0; i < c.entries.size(); ++i) EXPECT_EQ(list.Strings(static_cast<int>(i)), c.entries[i]);
    EXPECT_EQ(list.QuotedText(), c.text);
  }
  for (const char* bad : {"HTML", "\"a\" ,\"b\"", "\"a\",", "\"open", "\"a\"\"b"}) {
    TStringList list;
    list.Add("kept");
    EXPECT_THROW(list.SetQuotedText(bad), std::invalid_argument) << bad;
    EXPECT_EQ(list.Count(), 1) << bad;
  }
}

}  // namespace
}  // namespace velmkit

namespace velmkit {
namespace {

TEST(FormBase, KnowsTheHostItemClassesInAnyLetterCase) {
  struct Case {
    const char* name;
    const char* created;
  };
  const Case cases[] = {
      {"TPubContainer", "TPubContainer"},
      {"tlOCcontainer", "TLocContainer"},
      {"TPubContainer ", nullptr},
      {"TVelmContainer", nullptr},
      {"", nullptr},
  };
  TVelmForm form(nullptr);
  for (const Case& c : cases) {
    std::unique_ptr<TVelmContainer> item(form.CreateObject(c.name));
    if (c.created == nullptr) {
      EXPECT_EQ(item, nullptr) << c.name;
      continue;
    }
    ASSERT_NE(item, nullptr) << c.name;
    EXPECT_EQ(item->ClassName(), c.created);
    EXPECT_EQ(item->Owner(), &form);
  }
}

TEST(FormBase, SavesItsFrameAndForgetsAFrameThatGoes) {
  testing::TempFolder folder;
  testing::WriteText(folder / "pwa.pwa", testing::ReadText(testing::FixturePath("project/pwa.pwa")));
  TVelmForm form(nullptr);
  EXPECT_FALSE(form.Save(nullptr)) << "no project";
  {
    std::unique_ptr<TPubFrame> frame(TPubFrame::Open(folder.Path(), &form, nullptr));
    ASSERT_EQ(form.GetObject(0), frame.get());
    frame->SetPluginProduct("Renamed");
    EXPECT_TRUE(form.Save(nullptr));
  }
  EXPECT_EQ(form.GetObject(0), nullptr);
  EXPECT_NE(testing::ReadText(folder / "pwa.pwa").find("<PluginProduct>Renamed</PluginProduct>"), std::string::npos);

  auto otherForm = std::make_unique<TVelmForm>(nullptr);
  std::unique_ptr<TPubFrame> frame(TPubFrame::Open(folder.Path(), otherForm.get(), nullptr));
  otherForm.reset();
  EXPECT_EQ(frame->Form(), nullptr);
}

}  // namespace
}  // namespace velmkit
