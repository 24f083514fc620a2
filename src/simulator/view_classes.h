#pragma once

// The run-time class names of the views, by which the document and the frames find them.
inline constexpr const char* kSimulateViewClass = "CSimulateView";
inline constexpr const char* kRegisterViewClass = "CRegisterView";
inline constexpr const char* kStackViewClass = "CStackView";
inline constexpr const char* kSymbolViewClass = "CSymbolView";
inline constexpr const char* kDumpViewClass = "CDumpView";
inline constexpr const char* kWatchViewClass = "CWatchView";
inline constexpr const char* kDeviceViewClass = "CDeviceView";
inline constexpr const char* kSourceViewClass = "CSourceView";
inline constexpr const char* kOutputViewClass = "COutputView";
