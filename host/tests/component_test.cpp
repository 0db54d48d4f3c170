// The process's table of components in process: launch items naming one component (by ProgID or class id)
// share one wrapper and one instance, and each item leaving the list gives its reference back (test code).
#include <gtest/gtest.h>

#include <memory>

#include "LaunchItem.h"
#include "test_support.h"

namespace {

// The framework's test component B, registered in the test prefix.
const char kProgId[] = "NXComponent.FrameworkTestB.1";
const char kClassId[] = "{89C0072D-D34F-4A07-84FC-520E5414BEB4}";

// Components add their templates to the application: the test is one, for its own duration.
class ComponentTable : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(NULL);
    app.reset(new CWinApp("host component table test"));
  }
  void TearDown() override {
    // The templates go before the components' libraries may unload, as in the host.
    delete app->m_pDocManager;
    app->m_pDocManager = NULL;
    app.reset();
    CoUninitialize();
  }
  cLaunchItem* AddComponentItem(cLaunchItemList& list, const char* locator) {
    cLaunchItem* item = cLaunchItem::Create("Dll");
    item->SetLocator(locator);
    item->SetLabel(locator);
    list.Insert(item, -1);
    return item;
  }
  std::unique_ptr<CWinApp> app;
};

TEST_F(ComponentTable, ItemsOfOneComponentShareOneInstanceUntilTheLastLeaves) {
  cLaunchItemList list;
  const int before = cNXComponentCOM::GetTableSize();
  cDllLaunchItem* first = static_cast<cDllLaunchItem*>(AddComponentItem(list, kProgId));
  cDllLaunchItem* second = static_cast<cDllLaunchItem*>(AddComponentItem(list, kProgId));
  cDllLaunchItem* byClassId = static_cast<cDllLaunchItem*>(AddComponentItem(list, kClassId));
  list.LoadTemplates();

  cNXComponentCOM* wrapper = first->GetComponentWrapper();
  ASSERT_NE(nullptr, wrapper) << "the test component could not be created";
  EXPECT_EQ(wrapper, second->GetComponentWrapper());
  EXPECT_EQ(wrapper, byClassId->GetComponentWrapper());
  EXPECT_EQ(before + 1, cNXComponentCOM::GetTableSize());
  EXPECT_EQ(3u, wrapper->GetRefCount());
  EXPECT_EQ(first->GetDocTemplate(), second->GetDocTemplate()) << "one instance makes one template";
  int templates = 0;
  for (POSITION pos = app->GetFirstDocTemplatePosition(); pos; app->GetNextDocTemplate(pos)) ++templates;
  EXPECT_EQ(1, templates);

  // One leaving keeps the component for the others, which stay available.
  ASSERT_TRUE(list.Remove(first));
  EXPECT_EQ(2u, wrapper->GetRefCount());
  EXPECT_TRUE(second->IsAvailable());
  ASSERT_TRUE(list.Remove(byClassId));
  EXPECT_EQ(1u, wrapper->GetRefCount());
  EXPECT_EQ(before + 1, cNXComponentCOM::GetTableSize());
  EXPECT_TRUE(second->IsAvailable());

  // The last one takes the wrapper out of the table.
  ASSERT_TRUE(list.Remove(second));
  EXPECT_EQ(before, cNXComponentCOM::GetTableSize());

  // A component that cannot be created leaves no wrapper behind.
  cDllLaunchItem* missing = static_cast<cDllLaunchItem*>(AddComponentItem(list, "NXComponent.NoSuchComponent.1"));
  EXPECT_FALSE(missing->LoadTemplate());
  EXPECT_EQ(nullptr, missing->GetComponentWrapper());
  EXPECT_EQ(before, cNXComponentCOM::GetTableSize());
}

}  // namespace
