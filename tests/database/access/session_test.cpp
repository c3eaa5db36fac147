// Sessions: the default session, names and auto names, starting and stopping, counting
// database users, and the file-lock retry rule against a second process.

#include "database/access/session.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "access_test_util.h"
#include "database/access/database.h"
#include "database/access/table.h"
#include "platform/file.h"

namespace database::access {
namespace {

using test::AccessTest;
using test::ExpectDatabaseError;

using TSessionTest = AccessTest;

TEST_F(TSessionTest, DefaultSessionAndLookups) {
  EXPECT_EQ(Session().SessionName(), "Default");
  EXPECT_EQ(Sessions().FindSession(""), &Session());
  EXPECT_EQ(Sessions().FindSession("default"), &Session());
  EXPECT_EQ(Sessions().FindSession("Other"), nullptr);
  ExpectDatabaseError([] { Sessions().FindSessionOrFail("Other"); }, "Invalid session name Other");
  EXPECT_EQ(Session().LockRetryCount(), 20);
  EXPECT_EQ(Session().LockWaitTime(), 100);
  EXPECT_TRUE(Session().SQLHourGlass());
}

TEST_F(TSessionTest, NamesStartAndStop) {
  TComponent form(nullptr);
  TSession session(&form);
  session.SetName("S");
  ExpectDatabaseError([&] { session.SetActive(true); }, "S: Session name missing");
  EXPECT_FALSE(session.Active());
  ExpectDatabaseError([&] { session.SetSessionName("DEFAULT"); },
                      "S: Duplicate session name 'DEFAULT'");
  int startups = 0;
  session.OnStartup = [&](TSession&) { ++startups; };
  session.SetSessionName("Work");
  session.SetActive(true);
  EXPECT_EQ(startups, 1);
  EXPECT_TRUE(Session().Active());  // starting another session starts the default one
  ExpectDatabaseError([&] { session.SetSessionName("X"); },
                      "S: Cannot perform this operation on an active session");
  session.SetLockRetryCount(-3);
  session.SetLockWaitTime(-1);
  EXPECT_EQ(session.LockRetryCount(), 0);
  EXPECT_EQ(session.LockWaitTime(), 0);

  // A cursor of this session; stopping the session frees its temporary database object
  // after closing the cursor.
  const std::string path = MakeDatabase({{"A", 1}});
  TTable cursor(&form);
  cursor.SetSessionName("work");
  cursor.SetDatabaseName(path);
  cursor.SetTableName("Societe");
  cursor.Open();
  EXPECT_EQ(&cursor.Database()->Session(), &session);
  EXPECT_EQ(Session().FindDatabase(path), nullptr);
  session.SetActive(false);
  EXPECT_FALSE(cursor.Active());
  EXPECT_TRUE(session.Databases().empty());
}

TEST_F(TSessionTest, AutoSessionNames) {
  TComponent form_a(nullptr);
  TComponent form_b(nullptr);
  TComponent form_c(nullptr);
  auto s = std::make_unique<TSession>(&form_a);
  s->SetName("S");
  TTable cursor(&form_a);
  s->SetAutoSessionName(true);
  EXPECT_EQ(s->SessionName(), "S_1");
  EXPECT_EQ(cursor.SessionName(), "S_1");  // handed to the owner's cursors
  ExpectDatabaseError([&] { s->SetSessionName("Y"); },
                      "S: Cannot modify SessionName while AutoSessionName is enabled");
  ExpectDatabaseError([&] { TSession second(&form_a); },
                      "Cannot add a session to the form or data-module while session 'S' has "
                      "AutoSessionName enabled");
  TTable later(&form_a);
  EXPECT_EQ(later.SessionName(), "S_1");

  TSession t(&form_b);
  t.SetName("T");
  t.SetAutoSessionName(true);
  EXPECT_EQ(t.SessionName(), "T_2");
  s.reset();  // releases number 0
  TSession u(&form_c);
  u.SetName("U");
  u.SetAutoSessionName(true);
  EXPECT_EQ(u.SessionName(), "U_1");
  u.SetName("V");  // renaming assigns the auto name again
  EXPECT_EQ(u.SessionName(), "V_1");

  TComponent form_d(nullptr);
  TSession one(&form_d);
  TSession two(&form_d);
  two.SetName("Two");
  ExpectDatabaseError([&] { two.SetAutoSessionName(true); },
                      "Two: Cannot enable AutoSessionName property with more than one session on "
                      "a form or data-module");
}

TEST_F(TSessionTest, KeepConnectionsKeepsTemporaryDatabases) {
  const std::string path = MakeDatabase({{"A", 1}});
  TSession session(nullptr);
  session.SetSessionName("Keeper");
  session.SetKeepConnections(true);
  TTable cursor(nullptr);
  cursor.SetSessionName("Keeper");
  cursor.SetDatabaseName(path);
  cursor.SetTableName("Societe");
  cursor.Open();
  cursor.Close();
  TDatabase* kept = session.FindDatabase(path);
  ASSERT_NE(kept, nullptr);
  EXPECT_TRUE(kept->Connected());
  EXPECT_EQ(kept->RefCount(), 0);
}

// A second process holds byte 1 of the file for `hold_ms`; returns its id once it holds it.
pid_t HoldLockInChild(const std::string& path, int hold_ms) {
  int ready[2];
  EXPECT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  if (child == 0) {
    close(ready[0]);
    platform::TFile file = platform::TFile::Open(path, platform::TFileAccess::ReadWrite,
                                                 platform::TFileShare::DenyNone);
    const bool locked = file.TryLockByte(1);
    const char answer = locked ? '1' : '0';
    (void)!write(ready[1], &answer, 1);
    usleep(static_cast<useconds_t>(hold_ms) * 1000);
    _exit(locked ? 0 : 1);
  }
  close(ready[1]);
  char answer = 0;
  EXPECT_EQ(read(ready[0], &answer, 1), 1);
  close(ready[0]);
  EXPECT_EQ(answer, '1');
  return child;
}

TEST_F(TSessionTest, FileLockRetriesThenTimesOutOrWaitsWithoutLimit) {
  const std::string path = MakeDatabase({{"A", 1}});
  TSession session(nullptr);
  session.SetSessionName("Locking");
  session.SetLockRetryCount(3);
  session.SetLockWaitTime(20);
  TTable cursor(nullptr);
  cursor.SetSessionName("Locking");
  cursor.SetDatabaseName(path);
  cursor.SetTableName("Societe");

  const pid_t holder = HoldLockInChild(path, 400);
  const auto start = std::chrono::steady_clock::now();
  ExpectDatabaseError([&] { cursor.Open(); }, "Wait for unlock time out");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(60));  // 3 waits of 20 ms before the 4th failure
  EXPECT_FALSE(cursor.Active());
  EXPECT_EQ(session.FindDatabase(path), nullptr);

  // Without limit: the open waits until the other process lets go.
  session.SetLockRetryCount(0);
  session.SetLockWaitTime(10);
  cursor.Open();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  EXPECT_EQ(cursor.FieldByName("Societe").AsString(), "A");
  int status = 0;
  waitpid(holder, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace database::access
