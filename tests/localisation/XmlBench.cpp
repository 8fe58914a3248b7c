// Loading and indexing: the twelve language files, and synthetic documents of growing size
// (time per byte should stay flat: the reader is linear).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "localisation/Languages.h"
#include "localisation/StringTable.h"
#include "localisation/XmlDoc.h"
#include "model/Text.h"

namespace norvi {
namespace {

std::u16string SourcePath(std::u16string_view relative) {
  const char* root = std::getenv("NORVI_SOURCE_DIR");
  return Utf8ToUtf16(root ? root : NORVI_DEFAULT_SOURCE_DIR) + u"/" + std::u16string(relative);
}

void BM_LoadAllLanguageFiles(benchmark::State& state) {
  StringTable table;
  int loaded = 0;
  for (auto _ : state)
    for (const Language& language : kLanguages)
      loaded += table.LoadLanguageStrings(SourcePath(language.file));
  if (loaded != static_cast<int>(state.iterations() * kLanguages.size()))
    state.SkipWithError("a language file did not load");
}
BENCHMARK(BM_LoadAllLanguageFiles)->Unit(benchmark::kMicrosecond);

// A language-file-like document of about size bytes: nested sections, attributes, text
// with references, comments and CDATA.
std::vector<std::byte> SyntheticDocument(size_t size) {
  std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<language>\n";
  for (int n = 0; text.size() < size; ++n) {
    text += "<config id=\"" + std::to_string(n) + "\">\n";
    for (int k = 0; k < 16; ++k)
      text += "  <str_key_" + std::to_string(k) + ">Grüße &amp; 确定 &#x41; text " +
              std::to_string(n) + "</str_key_" + std::to_string(k) + ">\n";
    text += "  <!-- note --><str_cdata><![CDATA[<raw> & text]]></str_cdata>\n</config>\n";
  }
  text += "</language>\n";
  std::vector<std::byte> bytes;
  for (char c : text) bytes.push_back(static_cast<std::byte>(c));
  return bytes;
}

void BM_LoadSyntheticDocument(benchmark::State& state) {
  const std::vector<std::byte> bytes = SyntheticDocument(static_cast<size_t>(state.range(0)));
  XmlDoc doc;
  for (auto _ : state) {
    doc.LoadBytes(bytes);
    benchmark::DoNotOptimize(doc.RecordCount());
  }
  if (!doc.WellFormed()) state.SkipWithError("synthetic document is not well-formed");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
  state.SetComplexityN(static_cast<int64_t>(bytes.size()));
  state.counters["elements"] = doc.RecordCount() - 1;
}
BENCHMARK(BM_LoadSyntheticDocument)
    ->Arg(256 << 10)
    ->Arg(512 << 10)
    ->Arg(1 << 20)
    ->Arg(2 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Reading the text of every element of the 1 MB document.
void BM_ReadEveryElementText(benchmark::State& state) {
  XmlDoc doc;
  doc.LoadBytes(SyntheticDocument(1 << 20));
  for (auto _ : state) {
    size_t chars = 0;
    for (uint32_t i = 1; i < doc.RecordCount(); ++i) chars += doc.ElementText(i).size();
    benchmark::DoNotOptimize(chars);
  }
}
BENCHMARK(BM_ReadEveryElementText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace norvi

BENCHMARK_MAIN();
