#pragma once
// How the comparisons an expression builds compare.
struct TVTRExpressionOptions {
  // Text compares ignoring the case of ASCII letters (LIKE never does).
  bool case_insensitive = false;
  // A string constant ending in "*" is a prefix: the other side begins with it.
  bool partial_compare = false;
  // SQL's NULL rules: a comparison with NULL is false (true for "<>"). Off,
  // as Locate and searches ask: NULL equals NULL and sorts before every value.
  bool raw_null = true;
};
