#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "test_support.h"
#include "velmkit/velmkit.h"

namespace velmkit {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override { SetUserInterface(&FUi); }
  void TearDown() override { ResetHost(); }
  ScriptedUserInterface FUi;
};

// An action that enables itself from a switch and counts how often it was asked.
class SwitchAction : public TAction {
  VELMKIT_CLASS(SwitchAction)
 public:
  SwitchAction(TComponent* owner, const bool& on) : TAction(owner), FOn(on) {}
  bool HandlesTarget(TObject* target) override {
    ++Asked;
    LastTarget = target;
    SetEnabled(FOn);
    return FOn;
  }
  int Asked = 0;
  TObject* LastTarget = nullptr;

 private:
  const bool& FOn;
};

struct RibbonFixture {
  TVelmMainForm mainForm{nullptr};
  TRibbonGroup* group = nullptr;

  RibbonFixture() {
    TRibbonPage* page = mainForm.Ribbon()->AddPage("Project");
    group = new TRibbonGroup(page);
    group->SetParent(page);
    mainForm.Ribbon()->ActionManager()->ActionBars()->Add()->SetActionBar(group);
  }
};

TEST_F(HostTest, IdleUpdateAsksEveryReachableActionOnce) {
  RibbonFixture ribbon;
  bool on = false;
  auto* shared = new SwitchAction(&ribbon.mainForm, on);
  auto* nested = new SwitchAction(&ribbon.mainForm, on);
  auto* unreachable = new SwitchAction(&ribbon.mainForm, on);
  TActionClientItem* top = ribbon.group->Items()->Add();
  top->SetAction(shared);
  top->Items()->Add()->SetAction(nested);
  top->Items()->Add()->SetAction(shared);
  top->Items()->Add()->SetCaption("-");

  EXPECT_EQ(Application().UpdateActions(&ribbon.mainForm), 2);
  EXPECT_EQ(shared->Asked, 1);
  EXPECT_EQ(nested->Asked, 1);
  EXPECT_EQ(unreachable->Asked, 0);
  EXPECT_EQ(shared->LastTarget, &ribbon.mainForm);
  EXPECT_FALSE(nested->Enabled());

  on = true;
  Application().UpdateActions(&ribbon.mainForm);
  EXPECT_TRUE(nested->Enabled());
}

TEST_F(HostTest, IdleUpdateCopesWithMissingRibbonParts) {
  struct Case {
    const char* what;
    std::function<void(TVelmMainForm&)> breakIt;
  };
  const Case cases[] = {
      {"no action manager", [](TVelmMainForm& form) { form.Ribbon()->SetActionManager(nullptr); }},
      {"no action bars", [](TVelmMainForm& form) { form.Ribbon()->ActionManager()->SetActionBars(nullptr); }},
      {"entry without bar", [](TVelmMainForm& form) { form.Ribbon()->ActionManager()->ActionBars()->Add(); }},
  };
  for (const Case& c : cases) {
    TVelmMainForm form(nullptr);
    c.breakIt(form);
    EXPECT_EQ(Application().UpdateActions(&form), 0) << c.what;
  }
  EXPECT_EQ(Application().UpdateActions(nullptr), 0);
}

TEST_F(HostTest, ItemsAreFoundByCaptionAndClickRunsOnlyEnabledActions) {
  RibbonFixture ribbon;
  TActionClientItem* build = ribbon.group->Items()->Add();
  build->SetCaption("&Build");
  TActionClientItem* create = build->Items()->Add();
  create->SetCaption("Create &Class");
  auto* action = new TAction(&ribbon.mainForm);
  int runs = 0;
  TObject* sender = nullptr;
  action->OnExecute = [&](TObject* s) {
    ++runs;
    sender = s;
  };
  create->SetAction(action);

  EXPECT_EQ(FindRibbonItem(ribbon.mainForm.Ribbon(), "Create Class"), create);
  EXPECT_EQ(FindRibbonItem(ribbon.mainForm.Ribbon(), "Create &Class"), create);
  EXPECT_EQ(FindRibbonItem(ribbon.mainForm.Ribbon(), "create class"), nullptr);

  EXPECT_TRUE(create->Click());
  EXPECT_EQ(sender, action);
  action->SetEnabled(false);
  EXPECT_FALSE(create->Click());
  EXPECT_FALSE(build->Click()) << "no action";
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(RibbonGroups(ribbon.mainForm.Ribbon()), std::vector<TRibbonGroup*>{ribbon.group});
}

TEST_F(HostTest, CommandPropertiesExistOnlyForButtons) {
  TActionClientItem item;
  ASSERT_NE(item.CommandProperties(), nullptr);
  item.CommandProperties()->ButtonSize = TButtonSize::bsLarge;
  item.SetCommandStyle(TCommandStyle::csSeparator);
  EXPECT_EQ(item.CommandProperties(), nullptr);
  item.SetCommandStyle(TCommandStyle::csButton);
  ASSERT_NE(item.CommandProperties(), nullptr);
  EXPECT_EQ(item.CommandProperties()->ButtonSize, TButtonSize::bsSmall);
}

class ProjectTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    FProject = FFolder / "demo";
    WriteText(FProject + "/pwa.pwa",
              "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\r\n<TPwaFrame>\r\n"
              "<PluginModule>demo.dll</PluginModule>\r\n<BuildList>\"HTML\",\"train_all\"</BuildList>\r\n<list>\r\n"
              "<TPubContainer><Name>HTML</Name><FileName>index.html</FileName><list>"
              "<TPubContainer><Name>Manifest</Name><FileName>manifest.json</FileName></TPubContainer>"
              "<TPubContainer><Name>static</Name><FileName>static</FileName></TPubContainer>"
              "</list></TPubContainer>\r\n"
              "<TLocContainer><Name>train_all</Name><FileName>train_all.bat</FileName></TLocContainer>\r\n"
              "<TLocContainer><Name>model</Name><FileName>model</FileName><list>"
              "<TPubContainer><Name>model.json</Name><FileName>model\\model.json</FileName></TPubContainer>"
              "<TLocContainer><Name>weights</Name><FileName>model\\weights.nnw</FileName></TLocContainer>"
              "</list></TLocContainer>\r\n"
              "<TOther><Name>kept</Name></TOther>\r\n"
              "</list>\r\n</TPwaFrame>");
    for (const char* file : {"index.html", "manifest.json", "static/js/main.js", "static/css/main.css",
                             "model/model.json", "model/weights.nnw", "train_all.bat"}) {
      WriteText(FProject + "/" + file, file);
    }
    FFrame.reset(TPubFrame::Open(FProject, &FForm, nullptr));
  }
  TempFolder FFolder;
  std::string FProject;
  TVelmForm FForm{nullptr};
  std::unique_ptr<TPubFrame> FFrame;
};

TEST_F(ProjectTest, PublishHandsOverPublicFilesWithProjectRelativeNames) {
  std::vector<std::string> relative;
  const TPubFrame* published = nullptr;
  SetPublisher([&](const TPubFrame& frame, const std::vector<PublishFile>& files) {
    published = &frame;
    for (const PublishFile& file : files) {
      EXPECT_EQ(ReadText(file.absolutePath), file.relativePath) << "absolute path of " << file.relativePath;
      relative.push_back(file.relativePath);
    }
    return PublishResult{true, ""};
  });
  EXPECT_TRUE(FFrame->Publish());
  EXPECT_EQ(published, FFrame.get());
  EXPECT_EQ(relative, (std::vector<std::string>{"index.html", "manifest.json", "static/css/main.css",
                                                "static/js/main.js", "model/model.json"}));

  relative.clear();
  EXPECT_TRUE(FFrame->Publish(FFrame->ObjectOfName("Manifest")));
  EXPECT_EQ(relative, std::vector<std::string>{"manifest.json"});
}

TEST_F(ProjectTest, PublishFailsWithoutPublisherMissingFileOrPublisherError) {
  EXPECT_FALSE(FFrame->Publish());
  EXPECT_EQ(FFrame->LastError(), "no publisher");

  int calls = 0;
  SetPublisher([&](const TPubFrame&, const std::vector<PublishFile>&) {
    ++calls;
    return PublishResult{false, "login refused"};
  });
  EXPECT_FALSE(FFrame->Publish());
  EXPECT_EQ(FFrame->LastError(), "login refused");

  std::filesystem::remove(FProject + "/model/model.json");
  EXPECT_FALSE(FFrame->Publish());
  EXPECT_NE(FFrame->LastError().find("model/model.json"), std::string::npos) << FFrame->LastError();
  EXPECT_EQ(calls, 1) << "nothing is uploaded while a file is missing";
}

TEST_F(ProjectTest, SymbolicLinksOutOfTheProjectAreNotFollowed) {
  WriteText(FFolder / "outside/secret.txt", "secret");
  std::filesystem::create_directory_symlink(FFolder / "outside", FProject + "/linked");
  TVelmContainer* model = FFrame->ObjectOfName("model");
  model->SetFileName("linked");
  EXPECT_EQ(model->GetFileName(), "");
  model->SetFileName("model");
  EXPECT_EQ(model->GetFileName(), FFrame->ProjectFolder() + "/model");

  int calls = 0;
  SetPublisher([&](const TPubFrame&, const std::vector<PublishFile>&) {
    ++calls;
    return PublishResult{true, ""};
  });
  std::filesystem::create_symlink(FFolder / "outside/secret.txt", FProject + "/static/js/secret.js");
  EXPECT_FALSE(FFrame->Publish());
  EXPECT_NE(FFrame->LastError().find("links outside the project folder"), std::string::npos) << FFrame->LastError();
  EXPECT_EQ(calls, 0);
}

TEST_F(ProjectTest, TerminalRunsItsEntryWhenActivated) {
  std::vector<std::string> runs;
  SetTerminalRunner([&](TTermWin& terminal) { runs.push_back(terminal.EntryName() + "@" + terminal.ScriptPath()); });
  auto* terminal = dynamic_cast<TTermWin*>(FFrame->BuildList()->Objects(1));
  ASSERT_NE(terminal, nullptr);
  EXPECT_EQ(terminal->WorkingFolder(), FFrame->ProjectFolder());

  terminal->SetActive(true);
  terminal->SetActive(true);  // already active: nothing new
  terminal->SetActive(false);
  terminal->SetActive(true);
  EXPECT_TRUE(terminal->GetActive());
  EXPECT_EQ(terminal->RunCount(), 2);
  std::string expected = "train_all@" + FFrame->ProjectFolder() + "/train_all.bat";
  EXPECT_EQ(runs, (std::vector<std::string>{expected, expected}));
}

TEST_F(ProjectTest, TreeShowsFrameAndContainersAndSelectsByItem) {
  TVelmTreeView view(nullptr);
  TPageWin pages(nullptr);
  view.SetVelmWin(&pages);
  TVelmTreeNode* root = BuildProjectTree(*FFrame, view);
  EXPECT_EQ(root->Caption(), "demo");
  EXPECT_EQ(FFrame->GetTreeNode(), root);
  ASSERT_EQ(root->Count(), 3) << "the kept element gets no node";
  EXPECT_EQ(root->Child(2)->Child(0)->Caption(), "model.json");

  TVelmContainer* weights = FFrame->ObjectOfName("weights");
  EXPECT_TRUE(view.SelectObject(weights));
  EXPECT_EQ(view.GetObj(), weights);
  EXPECT_EQ(weights->GetTreeNode()->VelmTreeView(), &view);
  EXPECT_EQ(view.VelmWin<TPageWin>(), &pages);
  EXPECT_EQ(view.VelmWin<TTermWin>(), nullptr);

  weights->GetTreeNode()->Delete();
  EXPECT_EQ(view.GetObj(), nullptr);
  EXPECT_FALSE(view.SelectObject(weights));
}

TEST(PageWin, ActivatesOnlyItsOwnPages) {
  TPageWin pages(nullptr);
  TPageWin other(nullptr);
  pages.AddPage("HTML");
  TPageTab* train = pages.AddPage("train_all");
  pages.SetActivePage(other.AddPage("foreign"));
  EXPECT_EQ(pages.ActivePageIndex(), -1);
  pages.SetActivePage(train);
  EXPECT_EQ(pages.ActivePageIndex(), 1);
  EXPECT_EQ(pages.GetPage(2), nullptr);
  EXPECT_EQ(pages.GetPage(-1), nullptr);
}

TEST_F(HostTest, OpenDialogTakesScriptedFilesAndHonoursMultiSelect) {
  TOpenDialog dialog(nullptr);
  dialog.SetInitialDir("/project/images/train/cats/");
  FUi.QueueFiles(std::vector<std::string>{"/a/one.jpg", "/b/two.jpg"});
  FUi.QueueFiles(std::nullopt);
  FUi.QueueFiles(std::vector<std::string>{"/a/one.jpg", "/b/two.jpg"});

  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Files(), (std::vector<std::string>{"/a/one.jpg"})) << "single selection keeps the first";
  EXPECT_FALSE(dialog.Execute()) << "cancel";
  dialog.SetOptions({TOpenOption::ofAllowMultiSelect});
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Files().size(), 2u);
  EXPECT_EQ(dialog.FileName(), "/a/one.jpg");
  EXPECT_EQ(FUi.Log().front().text, "/project/images/train/cats/");
}

TEST_F(HostTest, DialogsGoThroughTheUserInterface) {
  FUi.QueueInput(std::string("birds"));
  FUi.QueueInput(std::nullopt);
  FUi.QueueAnswer(mrYes);
  std::string value = "start";
  EXPECT_TRUE(InputQuery("Create Class", "Enter name", value));
  EXPECT_EQ(value, "birds");
  EXPECT_FALSE(InputQuery("Create Class", "Enter name", value));
  EXPECT_EQ(value, "birds") << "a cancel leaves the value";
  EXPECT_EQ(MessageDlg("Remove?", TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 0), mrYes);
  EXPECT_EQ(MessageDlg("Again?", TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 0), mrCancel);
  ShowMessage("Publish  Error!");
  EXPECT_EQ(FUi.Messages(), std::vector<std::string>{"Publish  Error!"});
  EXPECT_EQ(FUi.Log()[0].text, "Create Class: Enter name");

  SetUserInterface(nullptr);
  std::string untouched = "x";
  EXPECT_FALSE(InputQuery("a", "b", untouched)) << "without a user interface nobody confirms";
  TOpenDialog dialog(nullptr);
  EXPECT_FALSE(dialog.Execute());
}

TEST(Controls, EditFiresChangeOnlyWhenTheTextChanges) {
  TEdit edit(nullptr);
  std::vector<std::string> seen;
  edit.OnChange = [&](TObject* sender) { seen.push_back(static_cast<TEdit*>(sender)->Text()); };
  edit.SetText("60");
  edit.SetText("60");
  edit.SetText("61");
  EXPECT_EQ(seen, (std::vector<std::string>{"60", "61"}));
}

TEST(Controls, ParentListsFollowSetParentAndFreeing) {
  TWinControl group(nullptr);
  auto* label = new TLabel(nullptr);
  label->SetParent(&group);
  EXPECT_EQ(group.Controls(0), label);
  delete label;
  EXPECT_EQ(group.ControlCount(), 0);
  auto parent = std::make_unique<TWinControl>(nullptr);
  TEdit edit(nullptr);
  edit.SetParent(parent.get());
  parent.reset();
  EXPECT_EQ(edit.Parent(), nullptr);
}

TEST(Controls, LinkLabelClicksAnchorAddresses) {
  TLinkLabel link(nullptr);
  link.SetCaption("See <a href=\"https://example.test/apps/\">Http public link</a> or <a href=\"x\">x</a>");
  std::vector<std::string> clicked;
  link.OnLinkClick = [&](TObject*, const std::string& address, TSysLinkType) { clicked.push_back(address); };
  EXPECT_TRUE(link.ClickLink());
  EXPECT_TRUE(link.ClickLink(1));
  EXPECT_FALSE(link.ClickLink(2));
  EXPECT_EQ(clicked, (std::vector<std::string>{"https://example.test/apps/", "x"}));
}

TEST_F(HostTest, AddressOpensThroughTheHookOrXdgOpen) {
  std::vector<std::string> opened;
  SetAddressOpener([&](const std::string& address) { opened.push_back(address); });
  OpenAddress("https://example.test/demo/");
  EXPECT_EQ(opened, std::vector<std::string>{"https://example.test/demo/"});

  // The default runs xdg-open from PATH; a stand-in records its arguments.
  SetAddressOpener(nullptr);
  TempFolder folder;
  std::string script = folder / "xdg-open";
  WriteText(script, "#!/bin/sh\nprintf '%s|' \"$@\" >> \"" + (folder / "calls") + "\"\n");
  chmod(script.c_str(), 0755);
  std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  setenv("PATH", (folder.Path() + ":" + path).c_str(), 1);
  OpenAddress("https://example.test/a b;$(x)");
  OpenAddress("--help");
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(ReadText(folder / "calls"), "https://example.test/a b;$(x)|");
}

}  // namespace
}  // namespace velmkit
