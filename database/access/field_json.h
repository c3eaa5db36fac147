#pragma once
// The JSON forms of field values that dbtool prints and reads, one per field type: texts as
// strings (UTF-8 in JSON, Windows-1252 in the field), whole numbers, Booleans, floating-point
// numbers, dates "YYYY-MM-DD", times "HH:MM:SS.mmm", date-times "YYYY-MM-DDTHH:MM:SS.mmm" and
// BLOB data as lower-case hexadecimal strings. Values pass through the cursor's field objects
// (and BLOB streams), so the tool reads and writes exactly what the wizard's cursors do.

#include "database/storage/json_value.h"

namespace database::access {

class TField;

// The value of `field` in its cursor's current record. Raises what reading the field raises
// (BLOB data that cannot be read or decoded).
storage::TJsonValue FieldToJson(TField& field);

// Writes `json` into `field`, whose cursor is in insert or edit state. Raises the database
// error "field 'NAME': ..." when the value is not of the form the field's type takes, is out
// of the field's range or is longer than a text field; the field is unchanged then.
void JsonToField(const storage::TJsonValue& json, TField& field);

}  // namespace database::access
