// The registry connection keeps its compiled statements between uses: each
// use must still start from a clean slate, and two uses of the same SQL at
// once must not share one cursor.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry/sqlite_database.h"

namespace {

using platform::registry_detail::RegistryFailure;
using platform::registry_detail::SqliteDatabase;
using platform::registry_detail::Statement;

class SqliteStatementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = std::filesystem::temp_directory_path() /
            ("qm-statement-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db");
    std::filesystem::remove(file_);
    db_ = std::make_unique<SqliteDatabase>(file_);
    db_->Execute("CREATE TABLE t(n INTEGER PRIMARY KEY); INSERT INTO t VALUES(1),(2),(3);");
  }
  void TearDown() override {
    db_.reset();
    std::filesystem::remove(file_);
  }

  static constexpr const char* kAbove = "SELECT n FROM t WHERE n > ?1 ORDER BY n";
  std::filesystem::path file_;
  std::unique_ptr<SqliteDatabase> db_;
};

TEST_F(SqliteStatementTest, NestedUsesOfOneSqlKeepTheirOwnCursors) {
  std::vector<std::string> pairs;
  Statement outer(*db_, kAbove);
  outer.Bind(1, 0);
  while (outer.Step()) {
    Statement inner(*db_, kAbove);
    inner.Bind(1, outer.Int(0));
    while (inner.Step()) pairs.push_back(std::to_string(outer.Int(0)) + std::to_string(inner.Int(0)));
  }
  EXPECT_EQ(pairs, (std::vector<std::string>{"12", "13", "23"}));
}

TEST_F(SqliteStatementTest, ANewUseStartsUnboundAndFromTheFirstRow) {
  {
    Statement first(*db_, kAbove);
    first.Bind(1, 1);
    ASSERT_TRUE(first.Step());  // left with rows unread
    EXPECT_EQ(first.Int(0), 2);
  }
  Statement second(*db_, kAbove);  // ?1 unbound is NULL: nothing compares above it
  EXPECT_FALSE(second.Step());
}

TEST_F(SqliteStatementTest, AFailedStepLeavesTheStatementUsable) {
  constexpr const char* kInsert = "INSERT INTO t VALUES(?1)";
  EXPECT_THROW(Statement(*db_, kInsert).Bind(1, 2).Run(), RegistryFailure);  // n is unique
  Statement(*db_, kInsert).Bind(1, 4).Run();
  Statement count(*db_, "SELECT count(*) FROM t");
  ASSERT_TRUE(count.Step());
  EXPECT_EQ(count.Int(0), 4);
}

}  // namespace
