// The session as JavaScript sees it (embind): new Module.Session(), its commands, and the
// panes' rows as plain objects and arrays. Bytes of files go both ways as Uint8Array;
// text goes as JavaScript strings (UTF-16, as the editor holds it).
#include <emscripten/bind.h>
#include <emscripten/val.h>
#include "assembler/syntax_colour.h"
#include "resources/string_table.h"
#include "web/web_grading.h"
#include "web/web_session.h"

using namespace emscripten;

namespace {
template <typename T>
val ToArray(const std::vector<T>& items)
{
    val array = val::array();
    for (const T& item : items) array.call<void>("push", val(item));
    return array;
}

val Bytes(std::string_view bytes)
{
    // A copy: the view on the module's memory would be stale once that memory grows.
    return val::global("Uint8Array")
        .new_(typed_memory_view(bytes.size(), reinterpret_cast<const unsigned char*>(bytes.data())));
}

const char* RunEndName(int end)
{
    static const char* const names[] = {"none",         "programEnd",      "stopAddress",   "breakpoint",
                                        "userStop",     "stepLimit",       "notExecutable", "codeOverwritten",
                                        "outputFailed", "waitingForInput", "paused"};
    return end >= 0 && end < static_cast<int>(std::size(names)) ? names[end] : "none";
}

val Status(const CWebRunStatus& status)
{
    val object = val::object();
    object.set("open", status.open);
    object.set("waiting", status.waiting);
    object.set("end", std::string(RunEndName(status.end)));
    object.set("executed", status.executed);
    object.set("indicator", status.indicator);
    return object;
}

val Format(const CSourceFormat& format)
{
    val object = val::object();
    object.set("encoding", std::string(format.encoding == TextEncoding::Cp932 ? "sjis" : "utf8"));
    object.set("bom", format.bom);
    object.set("lineEnd", std::string(format.lineEnd == LineEnd::CrLf ? "crlf" : "lf"));
    object.set("mixed", format.mixed);
    object.set("name", DescribeSourceFormatText(format));
    return object;
}

std::vector<std::uint32_t> Lines(const val& numbers)
{
    return numbers.isUndefined() ? std::vector<std::uint32_t>{} : vecFromJSArray<std::uint32_t>(numbers);
}

// encoding: "sjis" or "utf8" to read the bytes so; anything else: the detection rule.
val OpenFile(CWebSession& session, const std::string& bytes, const std::string& encoding)
{
    std::optional<TextEncoding> chosen;
    if (encoding == "sjis") chosen = TextEncoding::Cp932;
    if (encoding == "utf8") chosen = TextEncoding::Utf8;
    const CDecodedSource source = session.OpenFile(bytes, chosen);
    val result = val::object();
    result.set("text", source.text);
    result.set("format", Format(source.format));
    result.set("otherEnds", ToArray(source.otherEnds));
    // A binary opened by mistake: the page asks before it opens it.
    result.set("hasNul", bytes.find('\0') != std::string::npos);
    return result;
}

val FileBytes(CWebSession& session, const std::u16string& text, const val& otherEnds)
{
    bool ok = true;
    const std::string bytes = session.FileBytes(text, Lines(otherEnds), ok);
    val result = val::object();
    result.set("bytes", Bytes(bytes));
    result.set("ok", ok);
    return result;
}

void SetFileEncoding(CWebSession& session, const std::string& encoding)
{
    CSourceFormat format = session.GetFormat();
    format.encoding = encoding == "utf8" ? TextEncoding::Utf8 : TextEncoding::Cp932;
    if (format.encoding == TextEncoding::Cp932) format.bom = false;
    session.SetFormat(format);
}

val Assemble(CWebSession& session, const std::u16string& text)
{
    val result = val::object();
    result.set("ok", session.Assemble(text));
    result.set("errors", ToArray(session.GetErrors()));
    return result;
}

int SetRegisters(CWebSession& session, const val& texts, bool overflow, bool sign, bool zero)
{
    std::array<std::string, 10> values;
    for (size_t i = 0; i < values.size(); ++i) values[i] = texts[i].isUndefined() ? "" : texts[i].as<std::string>();
    return session.SetRegisters(values, overflow, sign, zero);
}

// The editor's colours of the lines (as the editor holds them), each as a flat
// Int32Array: start, length and kind (SyntaxColour::Kind) of every span in turn.
val ColourLines(const CWebSession&, const val& lines)
{
    val result = val::array();
    std::vector<SyntaxColour::CSpan> spans;
    std::vector<std::int32_t> flat;
    const auto count = lines["length"].as<unsigned>();
    for (unsigned i = 0; i < count; ++i) {
        spans.clear();
        SyntaxColour::ColourLine(lines[i].as<std::u16string>(), spans);
        flat.clear();
        for (const SyntaxColour::CSpan& span : spans)
            flat.insert(flat.end(), {span.start, span.length, static_cast<int>(span.kind)});
        result.call<void>("push", val::global("Int32Array").new_(typed_memory_view(flat.size(), flat.data())));
    }
    return result;
}

// Hands each block of the trace table to write(Uint8Array), which answers whether to go on.
class CCallbackTraceSink final : public ITraceSink {
public:
    explicit CCallbackTraceSink(val write) : m_write(std::move(write)) {}
    bool Write(std::string_view text, std::uint64_t) override { return m_write(Bytes(text)).as<bool>(); }

private:
    val m_write;
};

bool WriteTraceTable(const CWebSession& session, val write)
{
    CCallbackTraceSink sink(std::move(write));
    return session.WriteTraceTable(sink);
}

// ﾃｽﾄ実行 (in a worker of its own): the editor's text, its file's encoding ("sjis" or
// "utf8"), the test file's name and bytes, the files opened with it ({name: bytes}), and
// progress(done, total) after each case.
val RunTests(const std::u16string& text, const std::string& encoding, const std::string& name, const std::string& bytes,
             const val& beside, const val& progress)
{
    CWebTestFile tests{name, bytes, {}};
    const val names = val::global("Object").call<val>("keys", beside);
    for (unsigned i = 0; i < names["length"].as<unsigned>(); ++i) {
        const auto file = names[i].as<std::string>();
        tests.beside[file] = beside[file].as<std::string>();
    }
    const CWebTestRun run = RunWebTests(text, encoding == "utf8" ? TextEncoding::Utf8 : TextEncoding::Cp932, tests,
                                        [&progress](int done, int total) { progress(done, total); });
    val result = val::object();
    result.set("message", run.message);
    result.set("lines", ToArray(run.lines));
    val inputs = val::array();
    for (const CWebCaseInput& input : run.inputs) {
        val lines = val::array();
        for (const std::string& line : input.lines) lines.call<void>("push", Bytes(line));
        val item = val::object();
        item.set("lines", lines);
        item.set("ends", input.ends);
        inputs.call<void>("push", item);
    }
    result.set("inputs", inputs);
    return result;
}

// A case's input lines (bytes, as RunTests gave them) for IN before the input bar.
void SetCaseInput(CWebSession& session, const val& lines, bool ends)
{
    std::vector<std::string> input;
    for (unsigned i = 0; i < lines["length"].as<unsigned>(); ++i) input.push_back(lines[i].as<std::string>());
    session.GetDocument().SetCaseInput(std::move(input), ends);
}

val Output(const CWebSession& session, double since)
{
    val result = val::object();
    result.set("total", session.GetDeviceLineCount());
    result.set("lines", ToArray(session.DeviceLines(since)));
    return result;
}
}  // namespace

EMSCRIPTEN_BINDINGS(zelkora)
{
    constant("RUN_GO", static_cast<int>(RUN_GO));
    constant("RUN_TRACE", static_cast<int>(RUN_TRACE));
    constant("RUN_PASS", static_cast<int>(RUN_PASS));
    constant("RUN_TO_ADDRESS", static_cast<int>(RUN_TO_ADDRESS));
    constant("FLAG_OF", static_cast<int>(FLAG_OF));
    constant("FLAG_SF", static_cast<int>(FLAG_SF));
    constant("FLAG_ZF", static_cast<int>(FLAG_ZF));
    function("messageText", optional_override([](int id) { return std::string(LoadString(id)); }));
    function("runTests", &RunTests);

    value_object<CListingRow>("ListingRow")
        .field("address", &CListingRow::address)
        .field("source", &CListingRow::source)
        .field("line", &CListingRow::line)
        .field("executable", &CListingRow::executable)
        .field("breakpoint", &CListingRow::breakpoint)
        .field("pr", &CListingRow::pr)
        .field("lastRun", &CListingRow::lastRun);
    value_object<CRegisterRow>("RegisterRow")
        .field("name", &CRegisterRow::name)
        .field("hex", &CRegisterRow::hex)
        .field("signed", &CRegisterRow::signedText)
        .field("unsigned", &CRegisterRow::unsignedText)
        .field("binary", &CRegisterRow::binary)
        .field("character", &CRegisterRow::character)
        .field("value", &CRegisterRow::value)
        .field("changed", &CRegisterRow::changed)
        .field("changedFlags", &CRegisterRow::changedFlags);
    value_object<CStackRow>("StackRow")
        .field("address", &CStackRow::address)
        .field("value", &CStackRow::value)
        .field("changed", &CStackRow::changed);
    value_object<CLabelRow>("LabelRow")
        .field("name", &CLabelRow::name)
        .field("address", &CLabelRow::address)
        .field("value", &CLabelRow::value);
    value_object<CDumpRow>("DumpRow")
        .field("address", &CDumpRow::address)
        .field("digits", &CDumpRow::digits)
        .field("characters", &CDumpRow::characters)
        .field("changed", &CDumpRow::changed);
    value_object<CWatchRow>("WatchRow")
        .field("target", &CWatchRow::target)
        .field("length", &CWatchRow::length)
        .field("format", &CWatchRow::format)
        .field("value", &CWatchRow::value)
        .field("changed", &CWatchRow::changed);
    value_object<CWebError>("Error").field("line", &CWebError::line).field("text", &CWebError::text);
    value_object<CWebEvent>("Event")
        .field("id", &CWebEvent::messageId)
        .field("icon", &CWebEvent::icon)
        .field("text", &CWebEvent::text);

    class_<CWebSession>("Session")
        .constructor<>()
        .function("openFile", &OpenFile)
        .function("newFile", &CWebSession::NewFile)
        .function("format", optional_override([](const CWebSession& s) { return Format(s.GetFormat()); }))
        .function("setFileEncoding", &SetFileEncoding)
        .function("fileBytes", &FileBytes)
        .function("assemble", &Assemble)
        .function("isLoaded", &CWebSession::IsLoaded)
        .function("errors", optional_override([](const CWebSession& s) { return ToArray(s.GetErrors()); }))
        .function("run", optional_override([](CWebSession& s, int mode, int address) {
                      return Status(s.Run(mode, static_cast<WORD>(address)));
                  }))
        .function("runToRow",
                  optional_override([](CWebSession& s, std::uint32_t row) { return Status(s.RunToRow(row)); }))
        .function("continueRun", optional_override([](CWebSession& s) { return Status(s.Continue()); }))
        .function("stop", optional_override([](CWebSession& s) { return Status(s.Stop()); }))
        .function("runStatus", optional_override([](const CWebSession& s) { return Status(s.GetRunStatus()); }))
        .function("giveInput",
                  optional_override([](CWebSession& s, const std::string& line) { s.GiveInputLine(line); }))
        .function("giveEof", &CWebSession::GiveEndOfInput)
        .function("setCaseInput", &SetCaseInput)
        .function("setSliceMs", &CWebSession::SetSliceMs)
        .function("toggleBreakpoint", &CWebSession::ToggleBreakpoint)
        .function("clearBreakpoints", &CWebSession::ClearBreakpoints)
        .function("setPR", &CWebSession::SetPRAtRow)
        .function("restart", &CWebSession::Restart)
        .function("stepBack", &CWebSession::StepBack)
        .function("backToRunStart", &CWebSession::BackToRunStart)
        .function("canStepBack", &CWebSession::CanStepBack)
        .function("setRegisters", &SetRegisters)
        .function("setMemoryWord", optional_override([](CWebSession& s, int address, int value) {
                      s.SetMemoryWord(static_cast<WORD>(address), static_cast<WORD>(value));
                  }))
        .function("typeDumpDigit",
                  optional_override([](CWebSession& s, int address, int digit, const std::string& key) {
                      return s.TypeDumpDigit(static_cast<WORD>(address), digit, key);
                  }))
        .function("typeDumpChar", optional_override([](CWebSession& s, int address, const std::string& key) {
                      return s.TypeDumpCharacter(static_cast<WORD>(address), key);
                  }))
        .function("addWatch", optional_override([](CWebSession& s, const std::string& target, unsigned length,
                                                   int format) { return s.AddWatch(target, length, format); }))
        .function("changeWatch",
                  optional_override([](CWebSession& s, std::uint32_t index, const std::string& target, unsigned length,
                                       int format) { return s.ChangeWatch(index, target, length, format); }))
        .function("removeWatch", &CWebSession::RemoveWatch)
        .function("listingSize", optional_override([](const CWebSession& s) { return s.GetListing().GetRowCount(); }))
        .function("prRow", optional_override([](CWebSession& s) {
                      return s.GetListing().ExecutableRowAt(s.GetDocument().GetCore().GetRegisters()[REG_PR]);
                  }))
        .function("rowOfAddress", optional_override([](const CWebSession& s, int address) {
                      return s.GetListing().RowAt(static_cast<WORD>(address));
                  }))
        .function("listing", optional_override([](const CWebSession& s, std::uint32_t first, std::uint32_t count) {
                      return ToArray(s.ListingRows(first, count));
                  }))
        .function("registers", optional_override([](const CWebSession& s) { return ToArray(s.RegisterRows()); }))
        .function("stack", optional_override(
                               [](const CWebSession& s, std::uint32_t count) { return ToArray(s.StackRows(count)); }))
        .function("labels", optional_override([](const CWebSession& s, int column, bool descending) {
                      return ToArray(s.LabelRows(column, descending));
                  }))
        .function("dump", optional_override([](const CWebSession& s, int first, std::uint32_t count) {
                      return ToArray(s.DumpRows(static_cast<WORD>(first), count));
                  }))
        .function("watches", optional_override([](const CWebSession& s) { return ToArray(s.WatchRows()); }))
        .function("output", &Output)
        .function("writeTraceTable", &WriteTraceTable)
        .function("traceTableQuestion", &CWebSession::TraceTableSizeQuestion)
        .function("colourLines", &ColourLines)
        .function("takeEvents", optional_override([](CWebSession& s) { return ToArray(s.TakeEvents()); }));
}
