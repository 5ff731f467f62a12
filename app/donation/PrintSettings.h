#pragma once
// The first step of every print button: the print settings of sys_sys copied
// into the print hand-over variables of myVar, and the requested kind into
// myVar.PrintDocKind.
class WindowQuery;

// Runs " select * from sys_sys " on `settings`, a query of the printing
// window, and closes it again. Without a settings row the variables keep
// their values.
void ReadPrintSettings(WindowQuery& settings);
