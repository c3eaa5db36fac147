#pragma once
// The dataset model the table cursor plugs into: the cursor states (browse, edit, insert and
// the internal key, filter and calculation states), the record buffers, the field objects,
// moving through the records, the edit cycle with its "before" and "after" events, and the
// browse check that every move runs first. What a record is and how it is stored is left to
// the derived cursor through a few virtual operations.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "database/access/access_error.h"
#include "database/access/db_data_set.h"
#include "database/access/field.h"
#include "database/access/field_value.h"
#include "database/storage/field_buffers.h"
#include "database/storage/optim_blob_stream.h"

namespace database::access {

enum TDataSetState : std::uint8_t {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
};

enum TDataAction : std::uint8_t { daFail, daAbort, daRetry };

// Bookmark flag byte of a record buffer.
enum TBookmarkFlag : std::uint8_t { bfCurrent, bfBOF, bfEOF, bfInserted };

// One record buffer. `bytes` is laid out as: the physical fields in field-number order, each
// in the width of its type (a BLOB field takes no bytes here: its value is the stream at the
// same field index in `blobs`); each calculated field as a presence byte and its value; the
// bookmark (the record number, 4 bytes) and the bookmark-flag byte.
class TRecordBuffer final {
 public:
  std::vector<std::uint8_t> bytes;
  std::vector<std::unique_ptr<storage::TOptimBlobStream>> blobs;  // per physical field
  // The field-buffer set over this buffer's physical slots, built once: the slots and streams
  // never move while the buffer lives.
  storage::TFieldBuffers field_buffers;
};

// The positions inside a record buffer.
struct TBufferLayout {
  std::vector<std::int32_t> field_offsets;  // per physical field (BLOB fields: width 0)
  std::int32_t physical_size = 0;           // bytes of the physical part
  std::int32_t bookmark_offset = 0;         // the record number; the flag byte follows
  std::int32_t buffer_size = 0;
};

// Invariants while open: the state is not dsInactive; CurRec is -1 or a position of the
// cursor order, and the record buffer holds the record at CurRec when HasRecord. Owns its
// field objects and buffers.
class TDBRecordDataSet : public TDBDataSet {
 public:
  using TDataSetNotifyEvent = std::function<void(TDBRecordDataSet& sender)>;
  using TDataSetErrorEvent = std::function<void(TDBRecordDataSet& sender,
                                                const EDatabaseError& error, TDataAction& action)>;

  explicit TDBRecordDataSet(TComponent* owner);
  ~TDBRecordDataSet() override;

  storage::TDBMediumType MediumType() const { return medium_type_; }
  void SetMediumType(storage::TDBMediumType medium);
  storage::TDBMediumType CursorMediumType() const override { return medium_type_; }
  bool Active() const override { return state_ != dsInactive; }
  void SetActive(bool active);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  // Closes also when BeforeClose raises (the error passes on): the database frees the table
  // readers this cursor points at right after.
  void CloseForDatabase() override;
  bool AutoCalcFields() const { return auto_calc_fields_; }
  void SetAutoCalcFields(bool value) { auto_calc_fields_ = value; }
  TDataSetState State() const { return state_; }

  // Moving; each runs the browse check first and raises BeforeScroll and AfterScroll.
  void First();
  void Next();
  void Prior();
  void Last();
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  // Items in the cursor order; 0 while closed.
  int RecordCount() const { return Active() ? CursorRecordCount() : 0; }
  int RecNo() const;
  // 0 <= n <= RecordCount and n differing from RecNo: goes to record n (0: the first);
  // any other n is ignored.
  void SetRecNo(int n);
  // The current record's record number; raises "No records" without a current record.
  std::int32_t GetBookmark() const;
  // Raises "Bookmark not found" when no item of the cursor order has that record number.
  void GotoBookmark(std::int32_t bookmark);
  void Refresh();

  // Changing records; see the cursor's documentation for the storage side.
  void Edit();
  void Insert();
  void Post();
  void Cancel();
  void Delete();
  // The browse check: posts a modified record being edited, cancels an unmodified one.
  void CheckBrowseMode();
  bool Modified() const { return modified_; }
  // The internal key state with a cleared key buffer; Post or Cancel leave it.
  void SetKey();

  std::size_t FieldCount() const { return fields_.size(); }
  TField& Fields(std::size_t i) const { return *fields_.at(i); }
  // Letter case ignored, first match wins; null when none.
  TField* FindField(const std::string& name) const;
  // Raises "Field '%s' not found" (cursor named).
  TField& FieldByName(const std::string& name) const;
  // One field's value by name.
  TValue FieldValues(const std::string& name) const { return FieldByName(name).Value(); }
  void SetFieldValues(const std::string& name, const TValue& value) {
    FieldByName(name).SetValue(value);
  }
  // Several names separated by ";": one value per name. Setting raises "Field count and
  // value count differ" when the counts differ, before writing anything.
  std::vector<TValue> FieldValuesArray(const std::string& names) const;
  void SetFieldValuesArray(const std::string& names, const std::vector<TValue>& values);
  // A calculated field, computed by OnCalcFields; only while closed.
  TField& AddCalcField(const std::string& name, storage::TFieldType type, std::int32_t size = 0);

  // The buffer that field access works on in the current state; null when there is no value
  // (closed, or no current record in browse state).
  virtual TRecordBuffer* CurrentRecordBuffer() const;
  // The buffer a field write goes to; raises "Cannot perform this operation on a closed
  // dataset" or "Dataset not in edit or insert mode" (cursor named) in a state that takes no
  // values.
  TRecordBuffer& WritableRecordBuffer();
  // Called by a field after it wrote its value.
  void FieldChanged(TField& field);
  const TBufferLayout& Layout() const { return layout_; }

  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeScroll, AfterScroll, BeforeRefresh, AfterRefresh, OnCalcFields;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit, BeforePost, AfterPost;
  TDataSetNotifyEvent BeforeCancel, AfterCancel, BeforeDelete, AfterDelete, OnNewRecord;
  TDataSetErrorEvent OnEditError, OnPostError, OnDeleteError;

 protected:
  // Opening and closing the storage side; OpenCursor leaves the field definitions for
  // CreateFields. CloseCursor must not raise.
  virtual void OpenCursor() = 0;
  virtual void CloseCursor() noexcept = 0;
  virtual int CursorRecordCount() const = 0;
  // Loads the record at `position` of the cursor order into `buffer`.
  virtual void LoadRecordData(TRecordBuffer& buffer, int position) = 0;
  virtual std::int32_t RecordNoAt(int position) const = 0;
  virtual bool CanModify() const = 0;
  virtual void InternalPost(bool inserting) = 0;
  virtual void InternalDelete() = 0;
  virtual void InternalRefresh() {}
  virtual void ApplyFilter() {}
  virtual void RemoveFilter() {}

  // Data fields from the table, in field order: name, type, declared size.
  void AddDataField(const std::string& name, storage::TFieldType type, std::int32_t size,
                    int field_no);
  void DestroyDataFields();
  // Computes the layout and allocates the buffers, each initialised as a new record.
  void AllocateBuffers();
  void FreeBuffers();
  void InitRecord(TRecordBuffer& buffer) const;
  // Re-reads the current record (or the next, or the prior, when it is gone).
  void Resync();

  TRecordBuffer& RecordBuffer() { return *record_buffer_; }
  int cur_rec_ = -1;  // position in the cursor order; -1 before the first record

 private:
  enum class TGetMode { Current, Next, Prior };
  bool GetRecord(TRecordBuffer& buffer, TGetMode mode);
  void ComputeCalcFields(TRecordBuffer& buffer);
  std::unique_ptr<TRecordBuffer> NewBuffer() const;
  void CheckActive() const;
  void CheckCanModifyOrRaise() const;
  void DoOpen();
  void DoClose() noexcept;
  void RunWithErrorEvent(const TDataSetErrorEvent& handler, const std::function<void()>& work);
  void Fire(const TDataSetNotifyEvent& event) {
    if (event) {
      event(*this);
    }
  }

  storage::TDBMediumType medium_type_ = storage::mtDisk;
  bool auto_calc_fields_ = true;
  TDataSetState state_ = dsInactive;
  bool modified_ = false;
  bool bof_ = true;
  bool eof_ = true;
  bool has_record_ = false;  // the record buffer holds the record at cur_rec_
  TBufferLayout layout_;
  std::vector<std::unique_ptr<TField>> fields_;  // data fields, then calculated fields
  std::size_t data_field_count_ = 0;
  // Names asked for before, to their field: the locale-aware search runs once per name.
  mutable std::unordered_map<std::string, TField*> field_cache_;
  std::unique_ptr<TRecordBuffer> record_buffer_;  // current record; the edited one in edit/insert
  std::unique_ptr<TRecordBuffer> key_buffer_;     // the key state's buffer
  std::unique_ptr<TRecordBuffer> filter_buffer_;  // the filter state's buffer
  std::unique_ptr<TRecordBuffer> range_start_;    // start key of a range
  std::unique_ptr<TRecordBuffer> range_end_;      // end key of a range
  TRecordBuffer* calc_buffer_ = nullptr;          // the buffer being computed in dsCalcFields
  TDataSetState state_before_calc_ = dsInactive;
};

}  // namespace database::access
