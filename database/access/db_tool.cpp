#include "database/access/db_tool.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "database/access/access_error.h"
#include "database/access/database.h"
#include "database/access/field.h"
#include "database/access/field_json.h"
#include "database/access/table.h"
#include "database/storage/database_creator.h"
#include "database/storage/database_error.h"
#include "database/storage/db_check.h"
#include "database/storage/db_file_io.h"
#include "database/storage/field_types.h"
#include "database/storage/json_value.h"
#include "database/storage/table_io.h"
#include "platform/code_page.h"
#include "platform/collation.h"

namespace database::access {
namespace {

using namespace database::storage;

constexpr int kExitOk = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitCannotOpen = 2;

constexpr char kUsage[] =
    "usage: dbtool create FILE --schema SCHEMA.json [--password P --encrypt Blowfish|Twofish|Gost "
    "--mode 0..4] [--compress] [--crc-check]\n"
    "       dbtool tables FILE\n"
    "       dbtool schema FILE TABLE\n"
    "       dbtool dump FILE TABLE [--password P] [--index NAME]\n"
    "       dbtool insert FILE TABLE [--password P]\n"
    "       dbtool check FILE [--password P]\n";

// A usage error: exit 2 with the message and the usage text.
class EUsage final : public platform::EError {
 public:
  explicit EUsage(const std::string& message) : EError(message) {}
};

// The input cannot be opened or read as a database: exit 2.
class ECannotOpen final : public platform::EError {
 public:
  explicit ECannotOpen(const std::string& message) : EError(message) {}
};

struct TTypeName {
  const char* name;
  std::uint8_t type;
};

constexpr std::array kTypeNames = {
    TTypeName{"String", ftString},       TTypeName{"Smallint", ftSmallint},
    TTypeName{"Integer", ftInteger},     TTypeName{"Word", ftWord},
    TTypeName{"Boolean", ftBoolean},     TTypeName{"Float", ftFloat},
    TTypeName{"Currency", ftCurrency},   TTypeName{"Date", ftDate},
    TTypeName{"Time", ftTime},           TTypeName{"DateTime", ftDateTime},
    TTypeName{"AutoInc", ftAutoInc},     TTypeName{"Blob", ftBlob},
    TTypeName{"Memo", ftMemo},           TTypeName{"Graphic", ftGraphic},
    TTypeName{"FmtMemo", ftFmtMemo},     TTypeName{"ParadoxOle", ftParadoxOle},
    TTypeName{"DBaseOle", ftDBaseOle},   TTypeName{"TypedBinary", ftTypedBinary},
    TTypeName{"FixedChar", ftFixedChar}, TTypeName{"Largeint", ftLargeint},
    TTypeName{"OraBlob", ftOraBlob},     TTypeName{"OraClob", ftOraClob},
};

struct TOptionName {
  const char* name;
  TIndexOption option;
};

constexpr std::array kOptionNames = {
    TOptionName{"primary", tiPrimary},
    TOptionName{"unique", tiUnique},
    TOptionName{"descending", tiDescending},
    TOptionName{"caseinsensitive", tiCaseInsensitive},
};

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::uint8_t TypeByName(std::string name) {
  if (name.size() > 2 && SameAscii(name.substr(0, 2), "ft")) {
    name = name.substr(2);
  }
  for (const TTypeName& entry : kTypeNames) {
    if (SameAscii(entry.name, name)) {
      return entry.type;
    }
  }
  throw EUsage("unknown field type '" + name + "'");
}

std::string TypeName(std::uint8_t type) {
  for (const TTypeName& entry : kTypeNames) {
    if (entry.type == type) {
      return entry.name;
    }
  }
  return std::to_string(type);
}

// Parsed options: positional arguments and --name value pairs (flags have no value).
struct TArgs {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;

  std::optional<std::string> Option(const std::string& name) const {
    for (const auto& [key, value] : options) {
      if (key == name) {
        return value;
      }
    }
    return std::nullopt;
  }
  bool Flag(const std::string& name) const { return Option(name).has_value(); }
};

TArgs ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                const std::vector<std::string>& flags) {
  TArgs parsed;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      parsed.positional.push_back(arg);
      continue;
    }
    if (std::find(flags.begin(), flags.end(), arg) != flags.end()) {
      parsed.options.emplace_back(arg, "");
    } else if (std::find(valued.begin(), valued.end(), arg) != valued.end()) {
      if (i + 1 >= args.size()) {
        throw EUsage(arg + " needs a value");
      }
      parsed.options.emplace_back(arg, args[++i]);
    } else {
      throw EUsage("unknown option " + arg);
    }
  }
  return parsed;
}

void NeedPositional(const TArgs& args, std::size_t count) {
  if (args.positional.size() != count) {
    throw EUsage("wrong number of arguments");
  }
}

// The engine path of a command-line (UTF-8) path.
std::string EnginePath(const std::string& path) {
  return platform::Utf8ToAnsi(path);
}

// An open database for the read and insert commands.
class TOpenDatabase {
 public:
  // `password` nullopt with `need_key` false: the command reads no field data (names only).
  TOpenDatabase(const std::string& path, bool writable, const std::optional<std::string>& password,
                bool need_key = true) {
    try {
      io_.Open(EnginePath(path), mtDisk, 0, !writable, false);
    } catch (const platform::EError& error) {
      throw ECannotOpen(error.what());
    }
    if (need_key && !io_.VerifyPassword(platform::Utf8ToAnsi(password.value_or("")))) {
      throw ECannotOpen(password ? "Access denied"
                                 : "Access denied (the database is encrypted: give --password)");
    }
  }

  TDBFileIO& IO() { return io_; }

  TTableIO& Table(const std::string& name) {
    table_ = std::make_unique<TTableIO>(io_);
    table_->SetTableName(platform::Utf8ToAnsi(name));
    try {
      table_->Open();
    } catch (const EDatabaseError& error) {
      throw ECannotOpen(error.what());
    }
    return *table_;
  }

 private:
  TDBFileIO io_;
  std::unique_ptr<TTableIO> table_;
};

TJsonValue ReadJsonFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw ECannotOpen("cannot read " + path);
  }
  std::stringstream text;
  text << in.rdbuf();
  try {
    return ParseJson(text.str());
  } catch (const EJsonError& error) {
    throw ECannotOpen(path + ": " + error.what());
  }
}

TNewTableDef TableFromJson(const TJsonValue& json) {
  TNewTableDef table;
  table.name = platform::Utf8ToAnsi(json.Find("name") ? json.Find("name")->AsString() : "");
  if (const TJsonValue* fields = json.Find("fields")) {
    for (const TJsonValue& f : fields->Items()) {
      TNewFieldDef field;
      field.name = platform::Utf8ToAnsi(f.Find("name") ? f.Find("name")->AsString() : "");
      field.field_type = TypeByName(f.Find("type") ? f.Find("type")->AsString() : "");
      field.size = f.Find("size") ? static_cast<std::int32_t>(f.Find("size")->AsInteger()) : 0;
      field.process_mode =
          f.Find("mode") ? static_cast<std::uint8_t>(f.Find("mode")->AsInteger()) : 0;
      table.fields.push_back(field);
    }
  }
  if (const TJsonValue* indexes = json.Find("indexes")) {
    for (const TJsonValue& i : indexes->Items()) {
      TNewIndexDef index;
      index.name = platform::Utf8ToAnsi(i.Find("name") ? i.Find("name")->AsString() : "");
      if (const TJsonValue* options = i.Find("options")) {
        for (const TJsonValue& option : options->Items()) {
          const auto found = std::find_if(
              kOptionNames.begin(), kOptionNames.end(),
              [&](const TOptionName& o) { return SameAscii(o.name, option.AsString()); });
          if (found == kOptionNames.end()) {
            throw EUsage("unknown index option '" + option.AsString() + "'");
          }
          index.options.Include(found->option);
        }
      }
      if (const TJsonValue* keys = i.Find("fields")) {
        for (const TJsonValue& key : keys->Items()) {
          std::int32_t number = -1;
          for (std::size_t f = 0; f < table.fields.size(); ++f) {
            if (platform::AnsiSameText(table.fields[f].name,
                                       platform::Utf8ToAnsi(key.AsString()))) {
              number = static_cast<std::int32_t>(f);
              break;
            }
          }
          if (number < 0) {
            throw EUsage("index '" + key.AsString() + "': no such field");
          }
          index.fields.push_back(number);
        }
      }
      table.indexes.push_back(index);
    }
  }
  return table;
}

int Create(const TArgs& args, std::ostream& /*out*/) {
  NeedPositional(args, 1);
  const auto schema_path = args.Option("--schema");
  if (!schema_path) {
    throw EUsage("create needs --schema");
  }
  TNewDatabaseOptions options;
  options.compress = args.Flag("--compress");
  options.crc32_check = args.Flag("--crc-check");
  if (const auto cipher = args.Option("--encrypt")) {
    options.encrypt = true;
    options.encrypt_algo_name = *cipher;
    if (!args.Option("--password")) {
      throw EUsage("--encrypt needs --password");
    }
  }
  options.password = platform::Utf8ToAnsi(args.Option("--password").value_or(""));
  if (const auto mode = args.Option("--mode")) {
    if (mode->size() != 1 || (*mode)[0] < '0' || (*mode)[0] > '4') {
      throw EUsage("--mode takes 0 to 4");
    }
    options.encrypt_mode = static_cast<std::uint8_t>((*mode)[0] - '0');
  }
  std::vector<TNewTableDef> tables;
  try {
    const TJsonValue schema = ReadJsonFile(*schema_path);
    const TJsonValue* list = schema.Find("tables");
    if (list == nullptr) {
      throw EUsage(*schema_path + ": no \"tables\" array");
    }
    for (const TJsonValue& table : list->Items()) {
      tables.push_back(TableFromJson(table));
    }
  } catch (const EJsonError& error) {
    throw EUsage(*schema_path + ": " + error.what());
  }
  const std::string path = EnginePath(args.positional[0]);
  try {
    CreateDatabaseFile(path, options);
    for (const TNewTableDef& table : tables) {
      AddTableToFile(path, table);
    }
  } catch (const platform::EError& error) {
    throw ECannotOpen(error.what());
  }
  return kExitOk;
}

int Tables(const TArgs& args, std::ostream& out) {
  NeedPositional(args, 1);
  TOpenDatabase db(args.positional[0], false, std::nullopt, false);
  std::vector<std::string> names;
  try {
    db.IO().ListTableNames(names);
  } catch (const EDatabaseError& error) {
    throw ECannotOpen(error.what());
  }
  for (const std::string& name : names) {
    out << platform::AnsiToUtf8(name) << '\n';
  }
  return kExitOk;
}

int Schema(const TArgs& args, std::ostream& out) {
  NeedPositional(args, 2);
  TOpenDatabase db(args.positional[0], false, std::nullopt, false);
  TTableIO& table = db.Table(args.positional[1]);
  for (const TStoredFieldDef& def : table.FieldDefs()) {
    TJsonValue line = TJsonValue::Object();
    line.Set("field", TJsonValue::String(platform::AnsiToUtf8(def.Name())));
    line.Set("type", TJsonValue::String(TypeName(def.FieldType())));
    line.Set("size", TJsonValue::Number(def.Size(), std::to_string(def.Size())));
    line.Set("mode", TJsonValue::Number(def.ProcessMode(), std::to_string(def.ProcessMode())));
    out << line.Write() << '\n';
  }
  for (const TStoredIndexDef& def : table.IndexDefs()) {
    TJsonValue line = TJsonValue::Object();
    line.Set("index", TJsonValue::String(platform::AnsiToUtf8(def.Name())));
    TJsonValue options = TJsonValue::Array();
    for (const TOptionName& option : kOptionNames) {
      if (def.Options().Contains(option.option)) {
        options.Add(TJsonValue::String(option.name));
      }
    }
    line.Set("options", options);
    TJsonValue fields = TJsonValue::Array();
    for (const std::int32_t f : def.Fields()) {
      fields.Add(TJsonValue::String(
          platform::AnsiToUtf8(table.FieldDefs()[static_cast<std::size_t>(f)].Name())));
    }
    line.Set("fields", fields);
    out << line.Write() << '\n';
  }
  return kExitOk;
}

// Opens `table` of the database file `path` on the default session, as the wizard's cursors
// open theirs: the password goes to the database object from the cursor's before-open
// handler; without one, an encrypted file asks through the login dialog (platform::Dialogs()).
void OpenTable(TTable& table, const std::string& path, const std::string& table_name,
               const std::optional<std::string>& password,
               const std::optional<std::string>& index_name) {
  table.SetDatabaseName(path);
  table.SetTableName(platform::Utf8ToAnsi(table_name));
  if (index_name) {
    table.SetIndexName(platform::Utf8ToAnsi(*index_name));
  }
  if (password) {
    table.BeforeOpen = [ansi = platform::Utf8ToAnsi(*password)](TDBRecordDataSet& sender) {
      sender.SetPassword(ansi);
    };
  }
  try {
    table.Open();
  } catch (const EAbort&) {
    // The login dialog was dismissed: nobody typed a password.
    throw ECannotOpen("Access denied (the database is encrypted: give --password)");
  } catch (const platform::EError& error) {
    throw ECannotOpen(error.what());
  }
  if (index_name) {
    // The cursor falls back to the primary index for a name it does not know; the tool
    // refuses the name instead.
    const std::vector<TIndexDef>& defs = table.IndexDefs();
    const std::string ansi = platform::Utf8ToAnsi(*index_name);
    if (std::none_of(defs.begin(), defs.end(), [&](const TIndexDef& def) {
          return platform::AnsiSameText(def.name, ansi);
        })) {
      throw ECannotOpen("no index '" + *index_name + "' in table '" + table_name + "'");
    }
  }
}

int Dump(const TArgs& args, std::ostream& out, std::ostream& err) {
  NeedPositional(args, 2);
  const std::string path = EnginePath(args.positional[0]);
  // Dumping never writes: a database object of the file's name, read-only, serves the cursor,
  // so that a file the user may only read dumps as well. Declared before the cursor, which
  // must close first.
  TDatabase database(nullptr);
  database.SetDatabaseName(path);
  database.SetReadOnly(true);
  TTable table(nullptr);
  OpenTable(table, path, args.positional[1], args.Option("--password"), args.Option("--index"));
  const int count = table.RecordCount();
  int failed = 0;
  if (count > 0) {
    table.First();
  }
  for (int position = 0; position < count; ++position) {
    try {
      // Next from the record shown; after a record that could not be read the cursor still
      // shows the one before it (or that record itself, when SetRecNo reached it), so it is
      // stepped past by number.
      if (position > 0) {
        if (table.RecNo() == position) {
          table.Next();
        } else {
          table.SetRecNo(position + 1);
        }
      }
      TJsonValue line = TJsonValue::Object();
      for (std::size_t f = 0; f < table.FieldCount(); ++f) {
        TField& field = table.Fields(f);
        line.Set(platform::AnsiToUtf8(field.FieldName()), FieldToJson(field));
      }
      out << line.Write() << '\n';
    } catch (const platform::EError& error) {
      err << "dbtool: record " << table.CursorOrder()[static_cast<std::size_t>(position)].RecordNo
          << ": " << error.what() << '\n';
      ++failed;
    }
  }
  return failed > 0 ? kExitSomeFailed : kExitOk;
}

int Insert(const TArgs& args, std::istream& in, std::ostream& out, std::ostream& err) {
  NeedPositional(args, 2);
  TTable table(nullptr);
  OpenTable(table, EnginePath(args.positional[0]), args.positional[1], args.Option("--password"),
            std::nullopt);
  int failed = 0;
  std::string text;
  for (int line_no = 1; std::getline(in, text); ++line_no) {
    if (text.find_first_not_of(" \t\r") == std::string::npos) {
      continue;
    }
    try {
      const TJsonValue line = ParseJson(text);
      table.Insert();
      for (const auto& [key, value] : line.Members()) {
        TField* field = table.FindField(platform::Utf8ToAnsi(key));
        if (field == nullptr) {
          throw EDatabaseError("no field '" + key + "'");
        }
        JsonToField(value, *field);
      }
      table.Post();
      // Records are numbered in append order; the one just posted has the highest number.
      out << table.TableIO()->Header().record_total - 1 << '\n';
    } catch (const platform::EError& error) {
      err << "dbtool: line " << line_no << ": " << error.what() << '\n';
      ++failed;
      // A failed line leaves nothing behind: the record being inserted is dropped, so that the
      // next Insert does not try to post it again.
      table.Cancel();
    }
  }
  // The cursor asks for no flush; the tool ends here, so the file goes to disk now.
  if (storage::TDBFileIO* file_io = table.Database()->FileIO()) {
    file_io->Flush();
  }
  return failed > 0 ? kExitSomeFailed : kExitOk;
}

int Check(const TArgs& args, std::ostream& out) {
  NeedPositional(args, 1);
  TOpenDatabase db(args.positional[0], false, args.Option("--password"));
  const TCheckReport report = CheckDatabase(db.IO());
  for (const std::string& finding : report.findings) {
    out << platform::AnsiToUtf8(finding) << '\n';
  }
  return report.findings.empty() ? kExitOk : kExitSomeFailed;
}

}  // namespace

int RunDbTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err) {
  try {
    if (args.empty()) {
      throw EUsage("no command");
    }
    const std::string& command = args[0];
    if (command == "create") {
      return Create(ParseArgs(args, {"--schema", "--password", "--encrypt", "--mode"},
                              {"--compress", "--crc-check"}),
                    out);
    }
    if (command == "tables") {
      return Tables(ParseArgs(args, {}, {}), out);
    }
    if (command == "schema") {
      return Schema(ParseArgs(args, {}, {}), out);
    }
    if (command == "dump") {
      return Dump(ParseArgs(args, {"--password", "--index"}, {}), out, err);
    }
    if (command == "insert") {
      return Insert(ParseArgs(args, {"--password"}, {}), in, out, err);
    }
    if (command == "check") {
      return Check(ParseArgs(args, {"--password"}, {}), out);
    }
    throw EUsage("unknown command '" + command + "'");
  } catch (const EUsage& error) {
    err << "dbtool: " << error.what() << '\n' << kUsage;
    return kExitCannotOpen;
  } catch (const platform::EError& error) {
    err << "dbtool: " << error.what() << '\n';
    return kExitCannotOpen;
  }
}

}  // namespace database::access
