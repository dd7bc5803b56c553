#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "velmkit/forms.h"
#include "velmkit/items.h"
#include "velmkit/pubframe.h"
#include "velmkit/registry.h"
#include "velmkit/tree.h"

namespace velmkit {
namespace {

// Records its own destruction so that tests can see who freed what, and when.
class Tracked : public TComponent {
 public:
  Tracked(TComponent* owner, std::vector<int>& log, int id) : TComponent(owner), FLog(log), FId(id) {}
  ~Tracked() override { FLog.push_back(FId); }

 private:
  std::vector<int>& FLog;
  int FId;
};

class TrackedItem : public TVelmContainer {
 public:
  TrackedItem(TComponent* owner, std::vector<int>& log, int id) : TVelmContainer(owner), FLog(log), FId(id) {}
  ~TrackedItem() override { FLog.push_back(FId); }

 private:
  std::vector<int>& FLog;
  int FId;
};

TEST(Component, FreesOwnedComponentsNewestFirst) {
  std::vector<int> log;
  auto* root = new Tracked(nullptr, log, 0);
  auto* first = new Tracked(root, log, 1);
  new Tracked(first, log, 11);
  new Tracked(root, log, 2);
  delete root;
  // Each destructor logs before its base frees what it owns.
  EXPECT_EQ(log, (std::vector<int>{0, 2, 1, 11}));
}

TEST(Component, FreedFirstLeavesItsOwner) {
  std::vector<int> log;
  Tracked owner(nullptr, log, 0);
  auto* child = new Tracked(&owner, log, 1);
  delete child;
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(log, (std::vector<int>{1}));
}

TEST(Component, InsertComponentMovesOwnership) {
  std::vector<int> log;
  {
    Tracked a(nullptr, log, 1);
    auto* moved = new Tracked(nullptr, log, 3);
    {
      Tracked b(nullptr, log, 2);
      b.InsertComponent(moved);
      a.InsertComponent(moved);
      EXPECT_EQ(b.ComponentCount(), 0);
      EXPECT_EQ(moved->Owner(), &a);
    }
    EXPECT_EQ(log, (std::vector<int>{2}));
  }
  EXPECT_EQ(log, (std::vector<int>{2, 1, 3}));
}

TEST(VelmList, AddedItemIsFreedWithTheListEvenIfAnotherComponentMadeIt) {
  std::vector<int> log;
  Tracked form(nullptr, log, 0);
  auto list = std::make_unique<TVelmContainer>(nullptr);
  auto* item = new TrackedItem(&form, log, 7);
  list->Add(item);
  EXPECT_EQ(form.ComponentCount(), 0);
  list.reset();
  EXPECT_EQ(log, (std::vector<int>{7}));
}

TEST(VelmList, RemoveFreesOnlyWhileTheListOwnsItsObjects) {
  struct Case {
    bool owns;
    bool freedAtRemove;
  };
  for (Case c : {Case{true, true}, Case{false, false}}) {
    std::vector<int> log;
    auto list = std::make_unique<TVelmContainer>(nullptr);
    auto* item = new TrackedItem(nullptr, log, 5);
    list->Add(item);
    list->SetOwnsObjects(c.owns);
    EXPECT_TRUE(list->Remove(item));
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(log.size(), c.freedAtRemove ? 1u : 0u) << "owns=" << c.owns;
    if (!c.freedAtRemove) {
      EXPECT_EQ(item->Name(), "");  // still a live object
    }
    list.reset();
    EXPECT_EQ(log, (std::vector<int>{5})) << "owns=" << c.owns;
  }
}

TEST(VelmList, ItemFreedElsewhereLeavesTheList) {
  TVelmContainer list(nullptr);
  auto* item = new TVelmContainer(nullptr);
  list.Add(item);
  list.Add(new TVelmContainer(nullptr));
  delete item;
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.IndexOf(item), -1);
}

TEST(VelmList, AddingToAnotherListMovesTheItem) {
  TVelmContainer first(nullptr);
  TVelmContainer second(nullptr);
  auto* item = new TVelmContainer(nullptr);
  first.Add(item);
  second.Add(item);
  EXPECT_EQ(first.Count(), 0);
  EXPECT_EQ(second.At(0), item);
}

TEST(Container, ObjectOfNameSearchesDepthFirstWithExactNameAndClass) {
  TPubFrame frame(nullptr, "/tmp/project");
  auto add = [](TVelmContainer& parent, TVelmContainer* item, const std::string& name) {
    item->SetName(name);
    item->SetParent(&parent);
    parent.Add(item);
    return item;
  };
  TVelmContainer* folder = add(frame, new TLocContainer(nullptr), "folder");
  TVelmContainer* nestedPub = add(*folder, new TPubContainer(nullptr), "target");
  TVelmContainer* topLoc = add(frame, new TLocContainer(nullptr), "target");

  EXPECT_EQ(frame.ObjectOfName("target"), nestedPub);
  EXPECT_EQ(frame.ObjectOfName("target", ItemClassOf<TLocContainer>()), topLoc);
  EXPECT_EQ(frame.ObjectOfName("TARGET"), nullptr);
  EXPECT_EQ(folder->ObjectOfName("target", ItemClassOf<TLocContainer>()), nullptr);
  EXPECT_EQ(nestedPub->Frame(), &frame);
}

TEST(Container, FileNameResolvesInsideTheProjectOnly) {
  struct Case {
    const char* fileName;
    const char* expected;
  };
  const Case cases[] = {
      {"images\\train", "/proj/images/train"},
      {"model/qnet_model.js", "/proj/model/qnet_model.js"},
      {".\\config.py", "/proj/config.py"},
      {"", ""},
      {"..\\outside", ""},
      {"images\\..\\..\\etc", ""},
      {"\\etc\\passwd", ""},
      {"/etc/passwd", ""},
      {"C:\\Windows", ""},
  };
  TPubFrame frame(nullptr, "/proj");
  for (const Case& c : cases) {
    auto* item = new TLocContainer(nullptr);
    item->SetParent(&frame);
    frame.Add(item);
    item->SetFileName(c.fileName);
    EXPECT_EQ(item->GetFileName(), c.expected) << c.fileName;
  }
  TLocContainer orphan(nullptr);
  orphan.SetFileName("config.py");
  EXPECT_EQ(orphan.GetFileName(), "") << "an item outside a project has no file";
}

TEST(Container, InsideFolderComparesWholeComponents) {
  struct Case {
    const char* folder;
    const char* path;
    bool inside;
  };
  const Case cases[] = {
      {"/proj", "/proj", true},
      {"/proj", "/proj/images/not-yet-made", true},
      {"/proj/", "/proj/images", true},
      {"/proj", "/project/images", false},
      {"/proj", "/proj/../etc", false},
      {"/proj", "/", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsInsideFolder(c.folder, c.path), c.inside) << c.folder << " " << c.path;
}

TEST(Container, PathEndsWithOneDelimiter) {
  TPubFrame frame(nullptr, "/proj/");
  auto* item = new TLocContainer(nullptr);
  item->SetParent(&frame);
  frame.Add(item);
  item->SetFileName("images\\train\\");
  EXPECT_EQ(item->GetPath(), "/proj/images/train/");
  EXPECT_EQ(frame.GetPath(), "/proj/");
  EXPECT_EQ(frame.Name(), "proj");
}

TEST(TreeLinks, NodeAndItemUnlinkWhicheverGoesFirst) {
  TVelmTreeView view(nullptr);
  TVelmContainer holder(nullptr);
  auto* item = new TVelmContainer(nullptr);
  holder.Add(item);
  TVelmTreeNode* node = view.AddChild(nullptr, "item");
  node->SetObj(item);
  EXPECT_EQ(item->GetTreeNode(), node);
  view.Select(node);
  EXPECT_EQ(view.GetObj(), item);

  holder.Remove(item);  // owns objects: freed
  EXPECT_EQ(node->GetObj(), nullptr);
  EXPECT_EQ(view.GetObj(), nullptr);

  auto* second = new TVelmContainer(nullptr);
  holder.Add(second);
  TVelmTreeNode* other = view.AddChild(nullptr, "second");
  other->SetObj(second);
  view.Select(other);
  other->Delete();
  EXPECT_EQ(second->GetTreeNode(), nullptr);
  EXPECT_EQ(view.Selected(), nullptr);
  EXPECT_EQ(view.TopCount(), 1);
}

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRegistryObserver([this](RegistryEvent event, const TFormClass* formClass) { FEvents.emplace_back(event, formClass); });
  }
  void TearDown() override {
    SetRegistryObserver(nullptr);
    for (const TFormClass* formClass : RegisteredModuleClasses()) UnRegisterModuleClass(formClass);
    SetInitProgram(0);
  }
  std::vector<std::pair<RegistryEvent, const TFormClass*>> FEvents;
};

class SampleForm : public TVelmForm {
  VELMKIT_CLASS(SampleForm)
 public:
  explicit SampleForm(TComponent* owner) : TVelmForm(owner) {}
};

TEST_F(RegistryTest, RegistersOnceFindsByNameAndUnregisters) {
  const TFormClass* formClass = FormClassOf<SampleForm>();
  RegisterModuleClass(formClass);
  RegisterModuleClass(formClass);
  EXPECT_EQ(RegisteredModuleClasses().size(), 1u);
  EXPECT_EQ(FindModuleClass("SampleForm"), formClass);
  EXPECT_EQ(FindModuleClass("sampleform"), nullptr);

  std::unique_ptr<TVelmForm> form(FindModuleClass("SampleForm")->Create(nullptr));
  EXPECT_TRUE(formClass->IsInstance(form.get()));

  UnRegisterModuleClass(formClass);
  EXPECT_TRUE(RegisteredModuleClasses().empty());
  ASSERT_EQ(FEvents.size(), 3u);
  EXPECT_EQ(FEvents[0], std::make_pair(RegistryEvent::Register, formClass));
  EXPECT_EQ(FEvents[2], std::make_pair(RegistryEvent::UnRegister, formClass));
}

TEST_F(RegistryTest, InitProgramIsZeroUntilTheHostSetsIt) {
  EXPECT_EQ(InitProgram(), 0);
  SetInitProgram(1);
  EXPECT_NE(InitProgram(), 0);
}

}  // namespace
}  // namespace velmkit
