#pragma once
// The SQL lexer unit: reserved words, tokens, parameter lists and the lexer.
#include "engine/foundation/lexer/Lexer.h"
#include "engine/foundation/lexer/ReservedWords.h"
#include "engine/foundation/lexer/SQLParams.h"
#include "engine/foundation/lexer/Token.h"
