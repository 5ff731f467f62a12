#pragma once
// The texts of the dataset layer. Texts that other parts of the system expect
// word for word are kept exactly.

inline constexpr const char* SDataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr const char* SDataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* SDataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char* SDataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr const char* SNotEditing = "Dataset not in edit or insert mode";
inline constexpr const char* SFieldNotFound = "Field '%s' not found";
inline constexpr const char* SParameterNotFound = "Parameter '%s' not found";
inline constexpr const char* SNoIndexForFields = "No index for fields '%s'";
inline constexpr const char* SIndexNotFound = "Index '%s' not found";
inline constexpr const char* SCircularDataLink = "Circular datalinks are not allowed";
inline constexpr const char* SFieldRequired = "Field '%s' must have a value";
inline constexpr const char* SRecordNotFound = "Record not found";
inline constexpr const char* SDuplicateFieldName = "Duplicate field name '%s'";
inline constexpr const char* SDuplicateIndexName = "Duplicate index name '%s'";
inline constexpr const char* SFieldReadOnly = "Field '%s' cannot be modified";
inline constexpr const char* SFieldAccessError = "Cannot access field '%s' as type %s";
inline constexpr const char* SFieldTypeMismatch = "Type mismatch for field '%s', expecting: %s actual: %s";
inline constexpr const char* SFieldSizeMismatch = "Size mismatch for field '%s', expecting: %d actual: %d";
inline constexpr const char* SFieldRangeError =
    "%s is not a valid value for field '%s'. The allowed range is %s to %s";
inline constexpr const char* SInvalidIntegerValue = "'%s' is not a valid integer value for field '%s'";
inline constexpr const char* SInvalidFloatValue = "'%s' is not a valid floating point value for field '%s'";
inline constexpr const char* SInvalidBoolValue = "'%s' is not a valid boolean value for field '%s'";
inline constexpr const char* SInvalidFieldSize = "Invalid size %d for field '%s'";
inline constexpr const char* SFieldTextNotStorable = "Field '%s' cannot store the character '%s'";
inline constexpr const char* SUnknownFieldType = "Field '%s' is of an unknown type";
inline constexpr const char* SDataSourceChange = "Data source cannot be changed";
inline constexpr const char* SDataSetMissing = "Field '%s' has no dataset";
inline constexpr const char* SNoBlobStream = "Field '%s' has no BLOB stream";
inline constexpr const char* SNotBlobField = "Field '%s' is not a BLOB field";
inline constexpr const char* SCannotOpenFile = "Cannot open file \"%s\"";
inline constexpr const char* SCannotCreateFile = "Cannot create file \"%s\"";
