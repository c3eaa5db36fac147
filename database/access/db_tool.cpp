#include "database/access/db_tool.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <istream>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "database/storage/database_creator.h"
#include "database/storage/database_error.h"
#include "database/storage/db_check.h"
#include "database/storage/db_file_io.h"
#include "database/storage/field_types.h"
#include "database/storage/json_value.h"
#include "database/storage/optim_blob_stream.h"
#include "database/storage/record_format.h"
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

std::string DateText(std::int32_t day_number) {
  int year = 0;
  int month = 0;
  int day = 0;
  DayNumberToDate(day_number, year, month, day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

std::string TimeText(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", static_cast<int>(ms / 3600000),
                static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
                static_cast<int>(ms % 1000));
  return text;
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

TJsonValue ValueToJson(std::span<const std::uint8_t> value, std::uint8_t type) {
  switch (type) {
    case ftString:
    case ftFixedChar: {
      const char* chars = reinterpret_cast<const char*>(value.data());
      return TJsonValue::String(
          platform::AnsiToUtf8(std::string_view(chars, strnlen(chars, value.size()))));
    }
    case ftSmallint:
      return TJsonValue::Number(LoadSmallint(value), std::to_string(LoadSmallint(value)));
    case ftWord:
      return TJsonValue::Number(LoadWord(value), std::to_string(LoadWord(value)));
    case ftInteger:
    case ftAutoInc:
      return TJsonValue::Number(LoadInteger(value), std::to_string(LoadInteger(value)));
    case ftLargeint:
      return TJsonValue::Number(static_cast<double>(LoadLargeint(value)),
                                std::to_string(LoadLargeint(value)));
    case ftBoolean:
      return TJsonValue::Boolean(LoadWord(value) != 0);
    case ftFloat:
    case ftCurrency:
      return TJsonValue::Number(LoadFloat(value));
    case ftDate:
      return TJsonValue::String(DateText(LoadInteger(value)));
    case ftTime:
      return TJsonValue::String(TimeText(LoadInteger(value)));
    case ftDateTime: {
      const double ms = LoadFloat(value);
      if (!std::isfinite(ms) || ms < 0 || ms > 3.2e17) {
        return TJsonValue();
      }
      const auto total = static_cast<std::int64_t>(ms);
      return TJsonValue::String(DateText(static_cast<std::int32_t>(total / 86400000)) + "T" +
                                TimeText(total % 86400000));
    }
    default:
      return TJsonValue::String(Hex(value));
  }
}

[[noreturn]] void BadValue(const std::string& field, const std::string& why) {
  throw EDatabaseError("field '" + field + "': " + why);
}

int Digits(std::string_view text, std::size_t at, std::size_t count, const std::string& field) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) {
      BadValue(field, "'" + std::string(text) + "' is not in the expected form");
    }
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

std::int32_t ParseDate(std::string_view text, const std::string& field) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
    BadValue(field, "a date is YYYY-MM-DD");
  }
  const int year = Digits(text, 0, 4, field);
  const int month = Digits(text, 5, 2, field);
  const int day = Digits(text, 8, 2, field);
  int y = 0;
  int m = 0;
  int d = 0;
  DayNumberToDate(DateToDayNumber(year, month, day), y, m, d);
  if (year < 1 || y != year || m != month || d != day) {
    BadValue(field, "'" + std::string(text) + "' is not a date");
  }
  return DateToDayNumber(year, month, day);
}

std::int32_t ParseTime(std::string_view text, const std::string& field) {
  if (text.size() != 12 || text[2] != ':' || text[5] != ':' || text[8] != '.') {
    BadValue(field, "a time is HH:MM:SS.mmm");
  }
  const int h = Digits(text, 0, 2, field);
  const int m = Digits(text, 3, 2, field);
  const int s = Digits(text, 6, 2, field);
  const int ms = Digits(text, 9, 3, field);
  if (h > 23 || m > 59 || s > 59) {
    BadValue(field, "'" + std::string(text) + "' is not a time");
  }
  return ((h * 60 + m) * 60 + s) * 1000 + ms;
}

std::vector<std::uint8_t> ParseHex(const std::string& text, const std::string& field) {
  if (text.size() % 2 != 0) {
    BadValue(field, "a BLOB is an even number of hexadecimal digits");
  }
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    unsigned value = 0;
    if (std::sscanf(text.substr(i, 2).c_str(), "%2x", &value) != 1 ||
        !std::isxdigit(static_cast<unsigned char>(text[i])) ||
        !std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
      BadValue(field, "a BLOB is a string of hexadecimal digits");
    }
    bytes.push_back(static_cast<std::uint8_t>(value));
  }
  return bytes;
}

// Puts a JSON value into a field's stored form.
void JsonToValue(const TJsonValue& json, const TStoredFieldDef& def,
                 std::vector<std::uint8_t>& value, TOptimBlobStream& blob) {
  const std::string& field = def.Name();
  try {
    switch (def.FieldType()) {
      case ftString:
      case ftFixedChar: {
        const std::string text = platform::Utf8ToAnsi(json.AsString());
        if (text.size() > static_cast<std::size_t>(def.Size())) {
          BadValue(field, "text longer than " + std::to_string(def.Size()) + " characters");
        }
        std::copy(text.begin(), text.end(), value.begin());
        return;
      }
      case ftSmallint:
      case ftWord:
      case ftInteger:
      case ftAutoInc:
      case ftLargeint: {
        const std::int64_t v = json.AsInteger();
        const bool fits = def.FieldType() == ftSmallint ? v >= -32768 && v <= 32767
                          : def.FieldType() == ftWord   ? v >= 0 && v <= 65535
                          : def.FieldType() == ftLargeint
                              ? true
                              : v >= std::numeric_limits<std::int32_t>::min() &&
                                    v <= std::numeric_limits<std::int32_t>::max();
        if (!fits) {
          BadValue(field, std::to_string(v) + " is out of range");
        }
        if (def.FieldType() == ftSmallint) {
          StoreSmallint(value, static_cast<std::int16_t>(v));
        } else if (def.FieldType() == ftWord) {
          StoreWord(value, static_cast<std::uint16_t>(v));
        } else if (def.FieldType() == ftLargeint) {
          StoreLargeint(value, v);
        } else {
          StoreInteger(value, static_cast<std::int32_t>(v));
        }
        return;
      }
      case ftBoolean:
        StoreWord(value, json.AsBoolean() ? 1 : 0);
        return;
      case ftFloat:
      case ftCurrency:
        StoreFloat(value, json.AsNumber());
        return;
      case ftDate:
        StoreInteger(value, ParseDate(json.AsString(), field));
        return;
      case ftTime:
        StoreInteger(value, ParseTime(json.AsString(), field));
        return;
      case ftDateTime: {
        const std::string& text = json.AsString();
        if (text.size() != 23 || text[10] != 'T') {
          BadValue(field, "a date-time is YYYY-MM-DDTHH:MM:SS.mmm");
        }
        StoreFloat(value, static_cast<double>(ParseDate(text.substr(0, 10), field)) * 86400000.0 +
                              ParseTime(text.substr(11), field));
        return;
      }
      default:
        blob.Assign(ParseHex(json.AsString(), field));
        return;
    }
  } catch (const EJsonError& error) {
    BadValue(field, error.what());
  }
}

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

// Buffers for one record of `table`, all active.
struct TToolRecord {
  std::vector<std::vector<std::uint8_t>> values;
  std::vector<std::unique_ptr<TOptimBlobStream>> blobs;

  explicit TToolRecord(const TTableIO& table) {
    for (const TStoredFieldDef& def : table.FieldDefs()) {
      const bool blob = IsBlobType(def.FieldType());
      values.emplace_back(
          blob ? 0 : static_cast<std::size_t>(FieldStorageWidth(def.FieldType(), def.Size())), 0);
      blobs.push_back(std::make_unique<TOptimBlobStream>());
    }
  }

  TFieldBuffers Buffers(const TTableIO& table) {
    TFieldBuffers buffers;
    for (std::size_t i = 0; i < values.size(); ++i) {
      const std::uint8_t type = table.FieldDefs()[i].FieldType();
      if (IsBlobType(type)) {
        buffers.AddBlob(blobs[i].get(), type);
      } else {
        buffers.Add(values[i].data(), type, static_cast<std::int32_t>(values[i].size()));
      }
    }
    return buffers;
  }
};

int Dump(const TArgs& args, std::ostream& out, std::ostream& err) {
  NeedPositional(args, 2);
  TOpenDatabase db(args.positional[0], false, args.Option("--password"));
  TTableIO& table = db.Table(args.positional[1]);
  int list_no = 0;
  if (const auto index = args.Option("--index")) {
    const std::int32_t found = FindDefByName(table.IndexDefs(), platform::Utf8ToAnsi(*index));
    if (found < 0) {
      throw ECannotOpen("no index '" + *index + "' in table '" + args.positional[1] + "'");
    }
    list_no = found + 1;
  }
  const TRecordList list = table.RecordList(list_no);
  TToolRecord record(table);
  int failed = 0;
  for (std::size_t p = 0; p < list.size(); ++p) {
    try {
      TFieldBuffers buffers = record.Buffers(table);
      table.ReadRecord(buffers, list, static_cast<int>(p));
      TJsonValue line = TJsonValue::Object();
      for (std::size_t f = 0; f < record.values.size(); ++f) {
        const TStoredFieldDef& def = table.FieldDefs()[f];
        const std::span<const std::uint8_t> value =
            IsBlobType(def.FieldType()) ? record.blobs[f]->Bytes()
                                        : std::span<const std::uint8_t>(record.values[f]);
        line.Set(platform::AnsiToUtf8(def.Name()), ValueToJson(value, def.FieldType()));
      }
      out << line.Write() << '\n';
    } catch (const platform::EError& error) {
      err << "dbtool: record " << list[p].RecordNo << ": " << error.what() << '\n';
      ++failed;
    }
  }
  return failed > 0 ? kExitSomeFailed : kExitOk;
}

int Insert(const TArgs& args, std::istream& in, std::ostream& out, std::ostream& err) {
  NeedPositional(args, 2);
  TOpenDatabase db(args.positional[0], true, args.Option("--password"));
  TTableIO& table = db.Table(args.positional[1]);
  int failed = 0;
  std::string text;
  for (int line_no = 1; std::getline(in, text); ++line_no) {
    if (text.find_first_not_of(" \t\r") == std::string::npos) {
      continue;
    }
    try {
      const TJsonValue line = ParseJson(text);
      TToolRecord record(table);
      for (const auto& [key, value] : line.Members()) {
        const std::int32_t f = FindDefByName(table.FieldDefs(), platform::Utf8ToAnsi(key));
        if (f < 0) {
          throw EDatabaseError("no field '" + key + "'");
        }
        JsonToValue(value, table.FieldDefs()[static_cast<std::size_t>(f)],
                    record.values[static_cast<std::size_t>(f)],
                    *record.blobs[static_cast<std::size_t>(f)]);
      }
      TFieldBuffers buffers = record.Buffers(table);
      table.AppendRecord(buffers, false);
      out << table.Header().record_total - 1 << '\n';
    } catch (const platform::EError& error) {
      err << "dbtool: line " << line_no << ": " << error.what() << '\n';
      ++failed;
    }
  }
  db.IO().Flush();
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
