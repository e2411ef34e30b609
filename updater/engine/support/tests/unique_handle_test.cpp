// The handle owner: one close per handle, whatever moves, resets, releases
// and out-parameter writes happen on the way.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/support/win32/unique_handle.h"
#include "win32/files.h"

namespace qxu {
namespace {

// Plain numbers as handles, with an empty value that is not zero, so the
// owner is seen to take both from the traits.
struct CountedTraits {
  using Handle = int;
  static int Invalid() noexcept { return -1; }
  static bool Valid(int h) noexcept { return h != -1; }
  static void Close(int h) noexcept { closed.push_back(h); }
  static std::vector<int> closed;
};
std::vector<int> CountedTraits::closed;

using Counted = UniqueHandle<CountedTraits>;

class UniqueHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { CountedTraits::closed.clear(); }
  static const std::vector<int>& Closed() { return CountedTraits::closed; }
};

static_assert(!std::is_copy_constructible_v<Counted>, "an owner is not copied");
static_assert(!std::is_copy_assignable_v<Counted>, "an owner is not copied");
static_assert(std::is_nothrow_move_constructible_v<Counted>, "an owner moves");
static_assert(std::is_nothrow_move_assignable_v<Counted>, "an owner moves");
static_assert(!std::is_convertible_v<Counted, bool>, "the test for a handle is explicit");
static_assert(sizeof(FileHandle) == sizeof(HANDLE), "nothing besides the handle");

TEST_F(UniqueHandleTest, StartsEmptyWithTheTraitsValue) {
  {
    Counted empty;
    EXPECT_EQ(-1, empty.get());
    EXPECT_FALSE(empty.valid());
    EXPECT_FALSE(empty);
    Counted zero(0);  // zero is live for these traits
    EXPECT_TRUE(zero.valid());
    EXPECT_TRUE(zero);
  }
  EXPECT_EQ(std::vector<int>{0}, Closed());
}

TEST_F(UniqueHandleTest, MoveConstructionLeavesTheSourceEmpty) {
  {
    Counted source(5);
    Counted target(std::move(source));
    EXPECT_EQ(-1, source.get());
    EXPECT_FALSE(source);
    EXPECT_EQ(5, target.get());
    EXPECT_TRUE(Closed().empty());
  }
  EXPECT_EQ(std::vector<int>{5}, Closed());
}

TEST_F(UniqueHandleTest, MoveAssignmentClosesTheTargetsHandle) {
  {
    Counted source(5);
    Counted target(7);
    target = std::move(source);
    EXPECT_EQ(std::vector<int>{7}, Closed());
    EXPECT_EQ(-1, source.get());
    EXPECT_EQ(5, target.get());

    Counted& alias = target;
    target = std::move(alias);  // onto itself: kept, not closed
    EXPECT_EQ(5, target.get());
    EXPECT_EQ(std::vector<int>{7}, Closed());

    Counted empty;
    target = std::move(empty);
    EXPECT_EQ((std::vector<int>{7, 5}), Closed());
    EXPECT_FALSE(target);
  }
  EXPECT_EQ((std::vector<int>{7, 5}), Closed());
}

TEST_F(UniqueHandleTest, ResetClosesTheOldHandleOnly) {
  {
    Counted owner(1);
    owner.reset(2);
    EXPECT_EQ(std::vector<int>{1}, Closed());
    EXPECT_EQ(2, owner.get());
    owner.reset();
    EXPECT_EQ((std::vector<int>{1, 2}), Closed());
    EXPECT_EQ(-1, owner.get());
    owner.reset();  // nothing to close
    EXPECT_EQ((std::vector<int>{1, 2}), Closed());
  }
  EXPECT_EQ((std::vector<int>{1, 2}), Closed());
}

TEST_F(UniqueHandleTest, ReleaseHandsOverWithoutClosing) {
  {
    Counted owner(3);
    EXPECT_EQ(3, owner.release());
    EXPECT_EQ(-1, owner.get());
    EXPECT_FALSE(owner);
    EXPECT_EQ(-1, owner.release());
  }
  EXPECT_TRUE(Closed().empty());
}

TEST_F(UniqueHandleTest, PutClosesFirstAndTakesWhatIsWritten) {
  {
    Counted owner(4);
    int* slot = owner.put();
    EXPECT_EQ(std::vector<int>{4}, Closed());
    EXPECT_EQ(-1, *slot);
    *slot = 9;
    EXPECT_EQ(9, owner.get());
  }
  EXPECT_EQ((std::vector<int>{4, 9}), Closed());
}

// A file opened without sharing: a second open fails for as long as the
// first handle lives.
class ExclusiveFile {
 public:
  explicit ExclusiveFile(std::wstring path) : path_(std::move(path)) {}
  HANDLE Open() const {
    return CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  bool IsOpen() const {
    const FileHandle probe(Open());
    return !probe;
  }

 private:
  std::wstring path_;
};

TEST(FileHandleTest, EmptyIsTheInvalidHandleValueAndNullIsNotLiveEither) {
  FileHandle empty;
  EXPECT_EQ(INVALID_HANDLE_VALUE, empty.get());
  EXPECT_FALSE(empty);
  EXPECT_EQ(INVALID_HANDLE_VALUE, empty.release());
  FileHandle null(nullptr);
  EXPECT_FALSE(null.valid());
  EXPECT_EQ(nullptr, null.get());
  EXPECT_EQ(nullptr, null.release());
  EXPECT_EQ(INVALID_HANDLE_VALUE, null.get());
  EXPECT_FALSE(FileHandle(CreateFileW(L"Z:\\no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

TEST(FileHandleTest, ClosesOnceAfterAMove) {
  qxtest::TempFolder folder;
  const ExclusiveFile file(folder / L"owned.bin");
  {
    FileHandle first(file.Open());
    ASSERT_TRUE(first);
    EXPECT_TRUE(file.IsOpen());
    FileHandle second(std::move(first));
    EXPECT_EQ(INVALID_HANDLE_VALUE, first.get());
    first.reset();  // must not close what second holds
    EXPECT_TRUE(file.IsOpen());
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(second.get(), "x", 1, &written, nullptr));
    second.reset();
    EXPECT_FALSE(file.IsOpen());
  }
  HANDLE raw = INVALID_HANDLE_VALUE;
  {
    FileHandle owner(file.Open());
    raw = owner.release();
  }
  EXPECT_TRUE(file.IsOpen());  // released, so still open
  EXPECT_TRUE(CloseHandle(raw));
  EXPECT_FALSE(file.IsOpen());
}

TEST(RegKeyTest, TakesAKeyThroughPutAndMovesIt) {
  RegKey empty;
  EXPECT_EQ(nullptr, empty.get());
  EXPECT_FALSE(empty);
  RegKey key;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()));
  EXPECT_TRUE(key);
  RegKey moved(std::move(key));
  EXPECT_EQ(nullptr, key.get());
  DWORD subKeys = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(moved.get(), nullptr, nullptr, nullptr, &subKeys, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
}

TEST(ModuleHandleTest, FreesTheLibraryOnReset) {
  const std::wstring path = qxtest::ProgramFolder() + L"QxUpdate.Jpn.dll";
  ASSERT_EQ(nullptr, GetModuleHandleW(path.c_str()));
  ModuleHandle module(LoadLibraryW(path.c_str()));
  ASSERT_TRUE(module);
  ModuleHandle moved(std::move(module));
  EXPECT_FALSE(module);
  module.reset();
  EXPECT_EQ(moved.get(), GetModuleHandleW(path.c_str()));
  moved.reset();
  EXPECT_EQ(nullptr, GetModuleHandleW(path.c_str()));
}

TEST(GdiObjectTest, DeletesTheObjectOnReset) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
  ASSERT_TRUE(brush);
  const HBRUSH raw = brush.get();
  EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(raw));
  GdiObject<HBRUSH> moved(std::move(brush));
  brush.reset();
  EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(raw));
  moved.reset();
  EXPECT_EQ(0u, GetObjectType(raw));
}

}  // namespace
}  // namespace qxu
