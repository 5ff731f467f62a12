#pragma once
// Unit VTRPasswordDialog: the password prompt of the database component.
#include "engine/access/PasswordDialog.h"
