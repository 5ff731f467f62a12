#pragma once
// The base of every table definition (field, index, constraint) and of the
// ordered lists that own them.
//
// Base image of every definition:
//   u8   length L of Name     (write 10164 / read 10166)
//   L    characters of Name   (10165 / 10167)
//   i32  ObjectID             (10168 / 10169)
// List image: i32 count (10158 / 10159), then the definitions' images.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Stream.h"

class TVTRMetaObjectDef {
 public:
  TVTRMetaObjectDef() = default;
  virtual ~TVTRMetaObjectDef() = default;
  TVTRMetaObjectDef(const TVTRMetaObjectDef&) = delete;
  TVTRMetaObjectDef& operator=(const TVTRMetaObjectDef&) = delete;

  // Copies every field of the source; a source of another kind gives only
  // its name and object ID.
  virtual void Assign(const TVTRMetaObjectDef& source);
  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream) const;

  std::string Name;  // lookups ignore case; at most 255 characters are stored
  int32_t ObjectID = -1;
};

class TVTRMetaObjectDefs {
 public:
  TVTRMetaObjectDefs() = default;
  virtual ~TVTRMetaObjectDefs() = default;
  TVTRMetaObjectDefs(const TVTRMetaObjectDefs&) = delete;
  TVTRMetaObjectDefs& operator=(const TVTRMetaObjectDefs&) = delete;

  virtual int32_t GetCount() const { return static_cast<int32_t>(items_.size()); }
  // Appends and returns the position. A definition of another kind than the
  // list holds raises std::invalid_argument.
  virtual int32_t Add(std::unique_ptr<TVTRMetaObjectDef> def);
  // A new definition of the list's kind, appended.
  TVTRMetaObjectDef& InternalAddCreated();
  // Clears, then reads the count and the definitions. A failed read leaves
  // the definitions read so far.
  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream) const;
  // Clears, then copies the source's definitions in order; a name met twice
  // (ignoring case) raises 10424 for the second one.
  virtual void Assign(const TVTRMetaObjectDefs& source);
  virtual void Delete(int32_t index);
  virtual void Insert(int32_t index, std::unique_ptr<TVTRMetaObjectDef> def);
  virtual void Move(int32_t from, int32_t to);
  virtual void Clear();

  // Positions are 0 .. GetCount() - 1; others raise std::out_of_range.
  TVTRMetaObjectDef& GetItem(int32_t index) const;
  // Frees the definition at index and puts def there.
  void SetItem(int32_t index, std::unique_ptr<TVTRMetaObjectDef> def);

  // First position whose name equals `name` ignoring case; -1 if none.
  int32_t IndexOf(std::string_view name) const;
  TVTRMetaObjectDef* FindByName(std::string_view name) const;
  int32_t IndexOfObjectID(int32_t id) const;
  TVTRMetaObjectDef* GetDefByObjectID(int32_t id) const;

 protected:
  // The class name that messages show.
  virtual std::string_view ClassName() const { return "TVTRMetaObjectDefs"; }
  // A new, empty definition of the list's kind. The base raises 30339.
  virtual std::unique_ptr<TVTRMetaObjectDef> CreateDef() const;
  // Whether the list may hold the definition (its kind).
  virtual bool Holds(const TVTRMetaObjectDef& def) const { return true; }

  // The stored count, bound-checked against the rest of the stream.
  static int32_t ReadCount(TStream& stream);

  std::vector<std::unique_ptr<TVTRMetaObjectDef>> items_;

 private:
  void CheckIndex(int32_t index, int32_t count) const;
  void CheckKind(const TVTRMetaObjectDef& def) const;
};

// The smallest image a stored definition can have: an empty name and the ID.
inline constexpr int32_t kMinDefImageSize = 1 + 4;
