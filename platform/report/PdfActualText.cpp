// The file layer of marking a PDF's text: reading the objects of a PDF file as
// Qt writes it (one cross-reference table, a flat page tree, one content stream
// per page, compressed with zlib) and appending an update that replaces the
// content streams of the marked pages. The bytes Qt wrote stay as they are.
#include <zlib.h>

#include <charconv>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/report/internal/PdfContent.h"
#include "platform/report/internal/PdfSyntax.h"
#include "platform/report/internal/PdfText.h"
#include "platform/rtl/Format.h"

namespace {

std::string_view SkipWhite(std::string_view text) {
  while (!text.empty() && IsPdfWhite(text.front())) text.remove_prefix(1);
  return text;
}

// Reads a whole number at the start of `text` (after blanks) and moves past it.
std::optional<long long> ReadNumber(std::string_view& text) {
  text = SkipWhite(text);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || value < 0) return std::nullopt;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return value;
}

// Reads "n g R" and moves past it; the object number.
std::optional<int> ReadReference(std::string_view& text) {
  const auto number = ReadNumber(text);
  const auto generation = ReadNumber(text);
  text = SkipWhite(text);
  if (!number || !generation || text.empty() || text.front() != 'R') return std::nullopt;
  text.remove_prefix(1);
  return static_cast<int>(*number);
}

// What follows the key in a dictionary's text (the key must end there).
std::optional<std::string_view> After(std::string_view dictionary, std::string_view key) {
  for (size_t at = dictionary.find(key); at != std::string_view::npos; at = dictionary.find(key, at + 1)) {
    const size_t end = at + key.size();
    if (end < dictionary.size() && (IsPdfWhite(dictionary[end]) || IsPdfDelimiter(dictionary[end])))
      return dictionary.substr(end);
  }
  return std::nullopt;
}

std::optional<int> ReferenceAfter(std::string_view dictionary, std::string_view key) {
  std::optional<std::string_view> rest = After(dictionary, key);
  return rest ? ReadReference(*rest) : std::nullopt;
}

// The data of a zlib stream; nothing when it is damaged or ends early.
std::optional<std::string> Inflate(std::string_view data) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return std::nullopt;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  std::string out;
  char buffer[65536];
  int result = Z_OK;
  while (result == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    result = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
  }
  inflateEnd(&stream);
  if (result != Z_STREAM_END) return std::nullopt;
  return out;
}

std::string Deflate(const std::string& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
            static_cast<uLong>(data.size()), Z_BEST_COMPRESSION);
  out.resize(size);
  return out;
}

// The objects of a PDF file as Qt writes it.
class QtPdfFile {
 public:
  explicit QtPdfFile(std::string_view pdf) : pdf_(pdf) {}

  // Reads the cross-reference table and the trailer; false for a file of another make.
  bool Open() {
    const size_t at = pdf_.rfind("startxref");
    if (at == std::string_view::npos) return false;
    std::string_view rest = pdf_.substr(at + 9);
    const auto xref = ReadNumber(rest);
    if (!xref || *xref >= static_cast<long long>(pdf_.size())) return false;
    xref_ = static_cast<size_t>(*xref);
    rest = pdf_.substr(xref_);
    if (rest.substr(0, 4) != "xref") return false;
    rest.remove_prefix(4);
    while (true) {
      rest = SkipWhite(rest);
      if (rest.substr(0, 7) == "trailer") break;
      const auto first = ReadNumber(rest);
      const auto count = ReadNumber(rest);
      if (!first || !count) return false;
      rest = SkipWhite(rest);
      for (long long i = 0; i < *count; ++i) {
        if (rest.size() < 20) return false;
        std::string_view entry = rest.substr(0, 20);
        const auto offset = ReadNumber(entry);
        if (!offset) return false;
        if (rest[17] == 'n') offsets_[static_cast<int>(*first + i)] = static_cast<size_t>(*offset);
        rest.remove_prefix(20);
      }
    }
    trailer_ = rest.substr(0, rest.find("startxref"));
    // A file that was updated already is not Qt's own.
    return !After(trailer_, "/Prev");
  }

  std::string_view Trailer() const { return trailer_; }
  size_t XrefOffset() const { return xref_; }

  // The text of an object between "obj" and "endobj" (or "stream").
  std::optional<std::string_view> Object(int number) const {
    const auto found = offsets_.find(number);
    if (found == offsets_.end() || found->second >= pdf_.size()) return std::nullopt;
    std::string_view text = pdf_.substr(found->second);
    const size_t start = text.find("obj");
    if (start == std::string_view::npos) return std::nullopt;
    text.remove_prefix(start + 3);
    return text.substr(0, std::min(text.find("endobj"), text.find("stream")));
  }

  // The pages in order.
  std::optional<std::vector<int>> Pages() const {
    const auto catalog = Object(ReferenceAfter(trailer_, "/Root").value_or(-1));
    const auto tree = catalog ? Object(ReferenceAfter(*catalog, "/Pages").value_or(-1)) : std::nullopt;
    std::optional<std::string_view> kids = tree ? After(*tree, "/Kids") : std::nullopt;
    if (!kids) return std::nullopt;
    *kids = SkipWhite(*kids);
    if (kids->empty() || kids->front() != '[') return std::nullopt;
    kids->remove_prefix(1);
    std::vector<int> pages;
    while (!(*kids = SkipWhite(*kids)).empty() && kids->front() != ']') {
      const auto page = ReadReference(*kids);
      if (!page) return std::nullopt;
      pages.push_back(*page);
    }
    return pages;
  }

  // The decompressed data of a stream object with FlateDecode or no filter.
  std::optional<std::string> StreamData(int number) const {
    const auto dictionary = Object(number);
    if (!dictionary) return std::nullopt;
    std::optional<std::string_view> length_text = After(*dictionary, "/Length");
    if (!length_text) return std::nullopt;
    std::string_view probe = *length_text;
    std::optional<long long> length;
    if (const auto reference = ReadReference(probe)) {
      std::optional<std::string_view> value = Object(*reference);
      if (value) length = ReadNumber(*value);
    } else {
      length = ReadNumber(*length_text);
    }
    const size_t keyword = static_cast<size_t>(dictionary->data() - pdf_.data()) + dictionary->size();
    if (!length || pdf_.substr(keyword, 6) != "stream") return std::nullopt;
    size_t start = keyword + 6;
    if (pdf_.substr(start, 2) == "\r\n") {
      start += 2;
    } else if (start < pdf_.size() && pdf_[start] == '\n') {
      start += 1;
    }
    if (start + static_cast<size_t>(*length) > pdf_.size()) return std::nullopt;
    const std::string_view data = pdf_.substr(start, static_cast<size_t>(*length));
    const std::optional<std::string_view> filter = After(*dictionary, "/Filter");
    if (!filter) return std::string(data);
    if (SkipWhite(*filter).substr(0, 12) != "/FlateDecode") return std::nullopt;
    return Inflate(data);
  }

 private:
  std::string_view pdf_;
  std::map<int, size_t> offsets_;
  std::string_view trailer_;
  size_t xref_ = 0;
};

}  // namespace

std::string WithActualText(const std::string& pdf, const std::vector<TPdfPageText>& pages) {
  QtPdfFile file(pdf);
  if (!file.Open()) return pdf;
  const std::optional<std::vector<int>> page_objects = file.Pages();
  if (!page_objects || page_objects->size() != pages.size()) return pdf;
  std::string update;
  // The new content streams by object number, and where each starts in the file.
  std::map<int, size_t> replaced;
  for (size_t i = 0; i < pages.size(); ++i) {
    const auto page = file.Object((*page_objects)[i]);
    const auto contents = page ? ReferenceAfter(*page, "/Contents") : std::nullopt;
    const auto content = contents ? file.StreamData(*contents) : std::nullopt;
    const auto marked = content ? MarkActualText(*content, pages[i]) : std::nullopt;
    if (!marked) continue;
    const std::string data = Deflate(*marked);
    replaced[*contents] = pdf.size() + update.size();
    update += Format("%d 0 obj\n<<\n/Length %d\n/Filter /FlateDecode\n>>\nstream\n", *contents,
                     static_cast<int64_t>(data.size()));
    update += data;
    update += "\nendstream\nendobj\n";
  }
  if (replaced.empty()) return pdf;
  const size_t xref = pdf.size() + update.size();
  update += "xref\n";
  for (const auto& [number, offset] : replaced) {
    update += Format("%d 1\n%.10d 00000 n \n", number, static_cast<int64_t>(offset));
  }
  // The trailer keeps Qt's entries and points back to Qt's table.
  std::string_view trailer = file.Trailer();
  const size_t close = trailer.rfind(">>");
  if (close == std::string_view::npos) return pdf;
  update += std::string(trailer.substr(0, close));
  update += Format("/Prev %d\n>>\nstartxref\n%d\n%%%%EOF\n", static_cast<int64_t>(file.XrefOffset()),
                   static_cast<int64_t>(xref));
  return pdf + update;
}
