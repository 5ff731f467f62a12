#pragma once
// Start-up of the SQL engine: the storage engine and the data-access
// components create its objects (expressions, and the statement processor
// of every query component) through the factories registered here.
// Programs, the engine demonstration and test fixtures that parse filters,
// Locate or search call it once before they do; calling it again is harmless.
void InitializeSQLEngine();
