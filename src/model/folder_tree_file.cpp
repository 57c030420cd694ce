#include "model/folder_tree_file.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace rw {
namespace {

constexpr std::string_view kSignature("\x0DTNT\x0D", 5);
constexpr std::string_view kFontName = "MS Sans Serif";
constexpr int32_t kFontHeight = -11;
constexpr uint32_t kExpandedBit = 1;
// Images, state, child count, font height, pitch, style, name length, colour, text length.
constexpr size_t kFixedRecordBytes = 4 + 4 + 4 + 4 + 4 + 1 + 1 + 1 + 4 + 2;

void PutU8(std::string& out, uint8_t value) {
  out += static_cast<char>(value);
}
void PutU16(std::string& out, uint16_t value) {
  for (int i = 0; i < 2; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}
void PutU32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  size_t left() const { return bytes_.size() - pos_; }
  std::optional<uint32_t> U32() { return Number(4); }
  std::optional<uint32_t> U16() { return Number(2); }
  std::optional<uint32_t> U8() { return Number(1); }
  std::optional<std::string_view> Bytes(size_t count) {
    if (count > left()) return std::nullopt;
    const std::string_view out = bytes_.substr(pos_, count);
    pos_ += count;
    return out;
  }

 private:
  std::optional<uint32_t> Number(size_t size) {
    if (size > left()) return std::nullopt;
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i) {
      value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    }
    pos_ += size;
    return value;
  }

  std::string_view bytes_;
  size_t pos_ = 0;
};

void SaveNode(const FolderNode& node, std::string& out) {
  std::string record;
  PutU32(record, static_cast<uint32_t>(node.image));
  PutU32(record, static_cast<uint32_t>(node.selectedImage));
  PutU32(record, node.expanded ? kExpandedBit : 0);
  PutU32(record, static_cast<uint32_t>(node.children.size()));
  PutU32(record, static_cast<uint32_t>(kFontHeight));
  PutU8(record, 0);  // pitch
  PutU8(record, 0);  // style
  PutU8(record, static_cast<uint8_t>(kFontName.size()));
  record += kFontName;
  PutU32(record, node.colour);
  // Paths outgrow a length byte, so the text carries a 16-bit length.
  const std::string_view text = std::string_view(node.text).substr(0, 0xFFFF);
  PutU16(record, static_cast<uint16_t>(text.size()));
  record += text;
  PutU32(out, static_cast<uint32_t>(record.size()));
  out += record;
  for (const auto& child : node.children) SaveNode(*child, out);
}

struct ParsedRecord {
  FolderNode fields;
  uint32_t childCount = 0;
};

std::optional<ParsedRecord> ParseRecord(Reader& file) {
  const auto length = file.U32();
  if (!length || *length < kFixedRecordBytes) return std::nullopt;
  const auto body = file.Bytes(*length);
  if (!body) return std::nullopt;
  Reader record(*body);
  ParsedRecord parsed;
  const auto image = record.U32(), selectedImage = record.U32(), state = record.U32(),
             childCount = record.U32(), fontHeight = record.U32(), pitch = record.U8(),
             style = record.U8(), nameLength = record.U8();
  if (!nameLength || *nameLength > 31 || !record.Bytes(*nameLength)) return std::nullopt;
  const auto colour = record.U32(), textLength = record.U16();
  if (!image || !selectedImage || !state || !childCount || !fontHeight || !pitch || !style ||
      !colour || !textLength) {
    return std::nullopt;
  }
  const auto text = record.Bytes(*textLength);
  if (!text || record.left() != 0) return std::nullopt;
  parsed.fields.image = static_cast<int32_t>(*image);
  parsed.fields.selectedImage = static_cast<int32_t>(*selectedImage);
  parsed.fields.expanded = (*state & kExpandedBit) != 0;
  parsed.fields.colour = *colour;
  parsed.fields.text = std::string(*text);
  parsed.childCount = *childCount;
  return parsed;
}

}  // namespace

std::string SaveFolderTree(const FolderTree& tree) {
  std::string out(kSignature);
  PutU8(out, 0);
  PutU32(out, static_cast<uint32_t>(tree.roots().size()));
  for (const auto& root : tree.roots()) SaveNode(*root, out);
  return out;
}

bool LoadFolderTree(std::string_view bytes, FolderTree& tree) {
  tree.Clear();
  Reader file(bytes);
  const auto signature = file.Bytes(kSignature.size());
  const auto flags = file.U8();
  const auto rootCount = file.U32();
  if (!signature || *signature != kSignature || !flags || !rootCount) return false;

  // Depth-first without recursion, so a hostile file cannot exhaust the stack.
  struct Pending {
    FolderNode* parent;
    uint32_t childrenLeft;
  };
  std::vector<Pending> stack{{nullptr, *rootCount}};
  while (!stack.empty()) {
    if (stack.back().childrenLeft == 0) {
      stack.pop_back();
      continue;
    }
    --stack.back().childrenLeft;
    auto record = ParseRecord(file);
    if (!record) {
      tree.Clear();
      return false;
    }
    FolderNode* node = tree.Append(stack.back().parent, std::move(record->fields.text));
    node->image = record->fields.image;
    node->selectedImage = record->fields.selectedImage;
    node->expanded = record->fields.expanded;
    node->colour = record->fields.colour;
    stack.push_back({node, record->childCount});
  }
  if (file.left() != 0) {
    tree.Clear();
    return false;
  }
  return true;
}

}  // namespace rw
