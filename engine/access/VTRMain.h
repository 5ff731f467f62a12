#pragma once
// Unit VTRMain: the data-access layer's process state (the engine runtime),
// the session and database components, the dataset and table components
// with their BLOB stream, the components' engine error, the extended field
// and index definitions with their conversions, and the routine that gives
// error messages in UTF-8.
#include "engine/access/AdvFieldDefs.h"
#include "engine/access/AdvIndexDefs.h"
#include "engine/access/BlobStream.h"
#include "engine/access/DataSet.h"
#include "engine/access/Database.h"
#include "engine/access/DefConversions.h"
#include "engine/access/EngineError.h"
#include "engine/access/EngineRuntime.h"
#include "engine/access/ErrorMessage.h"
#include "engine/access/ExportToSqlOptions.h"
#include "engine/access/Session.h"
#include "engine/access/SessionDataSet.h"
#include "engine/access/SessionList.h"
#include "engine/access/Table.h"
