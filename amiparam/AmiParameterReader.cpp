// AmiParameterReader: typed lookup of one parameter string by dotted path.
//
// The dotted path of a node is its name below an empty prefix (the
// outermost list), otherwise its parent's path, a '.' and its name; a leaf
// always adds ".name" to its branch's path. The search walks the tree
// depth-first in text order with an explicit stack, so nesting depth never
// touches the C++ stack. Instead of building path strings it keeps how
// much of the wanted path the current branch's path matches, and skips a
// branch whose path is not a prefix of the wanted one: no leaf below it
// could match. The result is the first match in depth-first text order.
#include "amiparam/AmiParameterReader.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <new>

#include "IbisParser/cmn.h"

namespace {

struct Frame {
  const AmiNode *node;
  int next;   // next child to visit
  size_t len; // length of this branch's path, a prefix of the wanted path
};

const char *NameOf(const AmiNode *node) { return node->name ? node->name : ""; }

// Whether the path of a branch named name, below a branch whose path is
// the first parentLen characters of path, is also a prefix of path; if so
// stores its length.
bool BranchMatches(const char *path, size_t parentLen, const char *name,
                   size_t *len) {
  size_t n = strlen(name);
  size_t start = parentLen;
  if( parentLen > 0 ) {
    if( path[parentLen] != '.' ) return false;
    start++;
  }
  if( strncmp(path + start, name, n) != 0 ) return false;
  *len = start + n;
  return true;
}

// Whether branch path + "." + name equals path.
bool LeafMatches(const char *path, size_t branchLen, const char *name) {
  return path[branchLen] == '.' && strcmp(path + branchLen + 1, name) == 0;
}

} // namespace

AmiParameterReader::AmiParameterReader(const char *text) {
  if( text != nullptr ) ok = AMIPARAM_Parse(text, &tree) == AMIPARAM_OK;
}

// The tree is released here: nothing keeps a reference into it once the
// reader is gone.
AmiParameterReader::~AmiParameterReader() { AMIPARAM_FreeTree(&tree); }

const AmiNode *AmiParameterReader::Find(const char *path) const {
  if( !ok || tree == nullptr || tree->entries == nullptr || tree->count < 1
      || path == nullptr )
    return nullptr;
  const AmiNode *root = tree->entries[0].node;
  size_t len = 0;
  if( root == nullptr || root->count < 1
      || !BranchMatches(path, 0, NameOf(root), &len) )
    return nullptr;

  // Stack depth never exceeds the deepest level of the tree.
  int depth = 1;
  for( int i = 0; i < tree->count; i++ )
    if( tree->entries[i].node && tree->entries[i].level > depth )
      depth = tree->entries[i].level;
  Frame *frames;
  if( !CMN_Calloc(&frames, static_cast<size_t>(depth) * sizeof *frames) )
    return nullptr;

  const AmiNode *found = nullptr;
  int top = 0;
  frames[top++] = Frame{ root, 0, len };
  while( top > 0 && found == nullptr ) {
    Frame &f = frames[top - 1];
    if( f.next >= f.node->count ) {
      top--;
      continue;
    }
    const AmiEntry &child = f.node->items.children[f.next++];
    if( child.node == nullptr ) continue;
    if( child.kind == AMIPARAM_LEAF ) {
      if( LeafMatches(path, f.len, NameOf(child.node)) ) found = child.node;
    } else if( child.kind == AMIPARAM_BRANCH && child.node->count > 0
               && top < depth
               && BranchMatches(path, f.len, NameOf(child.node), &len) ) {
      frames[top++] = Frame{ child.node, 0, len };
    }
  }
  CMN_Free(&frames);
  return found;
}

const AmiNode *AmiParameterReader::GetNode(const char *path) const {
  return Find(path);
}

const AmiValue *AmiParameterReader::FirstValue(const char *path) const {
  const AmiNode *node = Find(path);
  if( node == nullptr || node->count < 1 || node->items.values == nullptr )
    return nullptr;
  const AmiValue *v = &node->items.values[0];
  return v->text ? v : nullptr;
}

bool AmiParameterReader::GetDouble(double &out, const char *path) const {
  const AmiValue *v = FirstValue(path);
  if( v == nullptr
      || (v->type != AMIPARAM_INTEGER && v->type != AMIPARAM_REAL) )
    return false;
  out = atof(v->text);
  return true;
}

bool AmiParameterReader::GetInt(int &out, const char *path) const {
  double d = 0.0;
  if( !GetDouble(d, path) ) return false;
  // Converting a double outside int's range is undefined; refuse it.
  if( isnan(d) || d <= -2147483649.0 || d >= 2147483648.0 ) return false;
  out = static_cast<int>(d);
  return true;
}

bool AmiParameterReader::GetBool(bool &out, const char *path) const {
  const AmiValue *v = FirstValue(path);
  if( v == nullptr || v->type != AMIPARAM_BOOLEAN ) return false;
  out = strcasecmp(v->text, "true") == 0;
  return true;
}

bool AmiParameterReader::GetString(char *&out, const char *path) const {
  const AmiValue *v = FirstValue(path);
  if( v == nullptr || v->type != AMIPARAM_WORD ) return false;
  size_t n = strlen(v->text);
  char *copy = new(std::nothrow) char[n + 1];
  if( copy == nullptr ) return false;
  memcpy(copy, v->text, n + 1);
  delete[] out;
  out = copy;
  return true;
}
