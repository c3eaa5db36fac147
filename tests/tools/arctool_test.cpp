// The arctool executable end to end: exit codes and output through a real process.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string kArcTool = std::string(QV_BINARY_DIR) + "/tools/arctool";

int Exit(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ArcTool, ListExtractAndTestThroughTheExecutable) {
  std::string pattern = (std::filesystem::temp_directory_path() / "arctool-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path dir = pattern;
  std::ofstream(dir / "a.txt") << "alpha\n";
  const std::string cd = "cd '" + dir.string() + "' && ";
  ASSERT_EQ(Exit(cd + "zip -q -P pw p.zip a.txt"), 0);
  EXPECT_EQ(Exit(cd + kArcTool + " list p.zip > list.txt"), 0);
  EXPECT_EQ(Exit(cd + kArcTool + " extract p.zip -d out -p pw"), 0);
  EXPECT_TRUE(std::filesystem::exists(dir / "out/a.txt"));
  EXPECT_EQ(Exit(cd + kArcTool + " test p.zip -p wrong < /dev/null 2> err.txt"), 1);
  EXPECT_EQ(Exit(cd + kArcTool + " test nothing.zip 2> /dev/null"), 2);
  EXPECT_EQ(Exit(cd + kArcTool + " 2> /dev/null"), 2);
  std::filesystem::remove_all(dir);
}

}  // namespace
