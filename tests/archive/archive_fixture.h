#pragma once
// Shared helpers of the archive tests: a temporary folder per test, running the real
// producers (Info-ZIP zip, 7-Zip, Python's zipfile) to make fixtures, reading and writing
// files, and a scripted dialog implementation.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace archive_test {

inline bool HaveTool(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command in `dir`; true when it exits 0.
inline bool Shell(const std::filesystem::path& dir, const std::string& command) {
  const std::string line = "cd '" + dir.string() + "' && ( " + command + " ) >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

inline void WriteFile(const std::filesystem::path& path, const std::string& content) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << content;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Text that deflate compresses well, `size` bytes, different for each seed.
inline std::string CompressibleText(std::size_t size, unsigned seed = 1) {
  static const char* const kWords[] = {"alpha ",   "bravo ", "charlie ", "delta ",  "echo ",
                                       "foxtrot ", "golf ",  "hotel ",   "india\n", "juliet "};
  std::string text;
  std::uint32_t x = seed * 2654435761u + 1;
  while (text.size() < size) {
    x = x * 1103515245u + 12345u;
    text += kWords[(x >> 16) % 10];
  }
  text.resize(size);
  return text;
}

// Bytes that deflate cannot shrink.
inline std::string RandomBytes(std::size_t size, unsigned seed = 7) {
  std::string bytes(size, '\0');
  std::uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
  for (char& c : bytes) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    c = static_cast<char>(x >> 24);
  }
  return bytes;
}

// A password that fails the one-byte password test on each of the `entries` encrypted entries
// of `zip` (in `dir`), so that a wrong password reliably brings up the password prompt: any
// given wrong password passes that test for 1 entry in 256. Info-ZIP unzip is the judge.
inline std::string RejectedPassword(const std::filesystem::path& dir, const std::string& zip,
                                    int entries) {
  for (int i = 0; i < 100; ++i) {
    const std::string candidate = "wrong" + std::to_string(i);
    Shell(dir, "unzip -t -P " + candidate + " " + zip +
                   " 2>&1 | grep -c 'skipping:.*incorrect password' > count.txt");
    std::ifstream in(dir / "count.txt");
    int count = 0;
    in >> count;
    if (count == entries) {
      return candidate;
    }
  }
  return "wrong";
}

class TTempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "arctest-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }
  // Runs a Python script (given as its text) in the temporary folder.
  bool Python(const std::string& script) {
    WriteFile(dir_ / "make.py", script);
    return Shell(dir_, "python3 make.py");
  }
  std::filesystem::path dir_;
};

// Answers dialogs from a script and records what was asked.
class TScriptedDialogs final : public platform::IDialogs {
 public:
  std::deque<platform::TDialogButton> buttons;
  std::deque<std::string> inputs;  // each answers an InputQuery with OK; none left: Cancel
  std::vector<platform::TMessageBoxRequest> boxes;
  std::vector<std::string> input_captions;
  std::vector<std::string> input_prompts;

  platform::TDialogButton MessageBox(const platform::TMessageBoxRequest& request) override {
    boxes.push_back(request);
    if (buttons.empty()) {
      return platform::TDialogButton::None;
    }
    const platform::TDialogButton answer = buttons.front();
    buttons.pop_front();
    return answer;
  }
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override {
    input_captions.push_back(caption);
    input_prompts.push_back(prompt);
    if (inputs.empty()) {
      return false;
    }
    value = inputs.front();
    inputs.pop_front();
    return true;
  }
  bool Login(const std::string&, std::string&) override { return false; }
};

}  // namespace archive_test
