#include <windows.h>
#include <oleauto.h>

#include <string>

#include "messages/messages.h"
#include "reading/kana.h"
#include "reading/reading_provider.h"
#include "text/text_codec.h"
#include "text/wide_text.h"

namespace vrellix {
namespace {


// The Japanese IME's language service, as msime.h declares it (MinGW does not
// ship that header). Only GetPhonetic is called; the slots before it keep the
// interface's layout.
struct IFELanguage : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Open() = 0;
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetJMorphResult(DWORD request, DWORD conversionMode, INT inputLength,
                                                    const WCHAR* input, DWORD* inputInfo, void** result) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetConversionModeCaps(DWORD* caps) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPhonetic(BSTR text, LONG start, LONG length, BSTR* phonetic) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetConversion(BSTR text, LONG start, LONG length, BSTR* result) = 0;
};

// {019F7152-E6DB-11D0-83C3-00C04FDDB82E}
const IID kIidIFELanguage = {0x019F7152, 0xE6DB, 0x11D0, {0x83, 0xC3, 0x00, 0xC0, 0x4F, 0xDD, 0xB8, 0x2E}};

// Japanese words and the text between them: the IME reads a run of kanji and
// kana whole, which keeps the context it reads by.
bool IsJapanese(char32_t c) { return reading::IsKanjiLike(c) || reading::IsKanaLike(c) || c == U'ー'; }

class ImeReadingProvider final : public ReadingProvider {
 public:
  ImeReadingProvider() {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_uninitialize = SUCCEEDED(init);
    CLSID clsid;
    void* language = nullptr;
    if (FAILED(CLSIDFromProgID(L"MSIME.Japan", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, kIidIFELanguage, &language))) {
      m_reason = messages::kReadingsNoIme;
      return;
    }
    m_language = static_cast<IFELanguage*>(language);
    if (FAILED(m_language->Open())) {
      m_language->Release();
      m_language = nullptr;
      m_reason = messages::kReadingsNoIme;
    }
  }
  ~ImeReadingProvider() override {
    if (m_language) {
      m_language->Close();
      m_language->Release();
    }
    if (m_uninitialize) CoUninitialize();
  }
  ImeReadingProvider(const ImeReadingProvider&) = delete;
  ImeReadingProvider& operator=(const ImeReadingProvider&) = delete;

  bool Available() const override { return m_language != nullptr; }
  const std::string& UnavailableReason() const override { return m_reason; }

  std::vector<ReadingSegment> Read(std::string_view utf8) override {
    if (!m_language || !IsValidUtf8(utf8)) return {ReadingSegment{std::string(utf8), std::string()}};
    const std::u32string text = Utf8ToCodePoints(utf8);
    std::vector<ReadingSegment> segments;
    for (size_t begin = 0; begin < text.size();) {
      const bool japanese = IsJapanese(text[begin]);
      size_t end = begin + 1;
      while (end < text.size() && IsJapanese(text[end]) == japanese) ++end;
      const std::string surface = CodePointsToUtf8(text.substr(begin, end - begin));
      segments.push_back(ReadingSegment{surface, japanese ? Phonetic(surface) : std::string()});
      begin = end;
    }
    return segments;
  }

 private:
  // The reading in katakana; empty when the IME gives none.
  std::string Phonetic(const std::string& utf8) {
    const std::wstring wide = WideFromUtf8(utf8);
    BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    BSTR phonetic = nullptr;
    std::string out;
    if (text && SUCCEEDED(m_language->GetPhonetic(text, 1, -1, &phonetic)) && phonetic) {
      const std::optional<std::u32string> katakana =
          reading::EnterableKana(Utf8ToCodePoints(Utf8FromWide({phonetic, SysStringLen(phonetic)})), KanaStyle::kKatakana);
      if (katakana) out = CodePointsToUtf8(*katakana);
    }
    SysFreeString(phonetic);
    SysFreeString(text);
    return out;
  }

  IFELanguage* m_language = nullptr;
  bool m_uninitialize = false;
  std::string m_reason;
};

}  // namespace

std::unique_ptr<ReadingProvider> MakeSystemReadingProvider() { return std::make_unique<ImeReadingProvider>(); }

}  // namespace vrellix
