// AmiParameterReader: typed lookup of one parameter string by dotted path.
//
// AMI_Init builds one on its stack from the string the simulator passes,
// asks for a setting such as "corvin_rx1.eq", and discards it before it
// returns. The string is parsed once, at construction; a string that does
// not parse leaves the reader not ok, and every getter then returns false.
// Getters never change the tree and never throw.
#pragma once

#include "amiparam/amiparam.h"

class AmiParameterReader {
public:
  explicit AmiParameterReader(const char *text);
  ~AmiParameterReader();
  AmiParameterReader(const AmiParameterReader &) = delete;
  AmiParameterReader &operator=(const AmiParameterReader &) = delete;

  // The leaf whose dotted path equals path exactly, or null. The first
  // match in depth-first text order wins; branches are never found.
  const AmiNode *GetNode(const char *path) const;

  // The first value of the leaf at path, when it is an integer or a real
  // (atof of its text). False leaves out unchanged.
  bool GetDouble(double &out, const char *path) const;

  // As GetDouble, truncated toward zero. A value outside the range of
  // int (or not a number) is refused.
  bool GetInt(int &out, const char *path) const;

  // The first value of the leaf at path, when it is a boolean: "True"
  // gives true and "False" false.
  bool GetBool(bool &out, const char *path) const;

  // The first value of the leaf at path, when it is a word: out receives
  // a new[]-allocated copy, owned by the caller, and the array it pointed
  // to is deleted[]. False leaves out unchanged.
  bool GetString(char *&out, const char *path) const;

  bool ok = false;
  AmiParamTree *tree = nullptr;

private:
  const AmiValue *FirstValue(const char *path) const;
  const AmiNode *Find(const char *path) const;
};
