// The ids of the Windows window's controls, menu items and boxes. The window driver test
// finds the controls by them, so an id, once given, keeps its meaning.
#pragma once

namespace printset::win32 {

// The caption of the main window, which a test finds it by.
constexpr const char* kWindowCaption = "PRINT SET";

enum TControlId : int {
  // The strip on top.
  kIdLabelPort = 1001,
  kIdComboPort = 1002,
  kIdLabelBaud = 1003,
  kIdComboBaud = 1004,
  // The pages: PARA, UPDATE, NVRAM, in that order.
  kIdPageControl = 1010,
  // PARA.
  kIdLabelSetBaudRate = 1020,
  kIdComboSetBaudRate = 1021,
  kIdLabelCodePage = 1022,
  kIdComboCodePage = 1023,
  kIdLabelString = 1024,
  kIdEditString = 1025,
  kIdButtonSet = 1026,
  // UPDATE.
  kIdButtonProgram = 1030,
  // NVRAM.
  kIdLabelLogo = 1040,
  kIdButtonAddLogo = 1041,
  kIdButtonDeleteLogo = 1042,
  kIdListLogo = 1043,
  kIdButtonDownload = 1044,
  kIdLabelDots = 1045,
  kIdComboDots = 1046,
  kIdLabelThreshold = 1047,
  kIdEditThreshold = 1048,
  kIdSpinThreshold = 1049,
  kIdPreview = 1050,
  kIdPreviewCaption = 1051,
  // The NVRAM list's pop-up menu: ADD, a separator, DELETE.
  kIdMenuAdd = 1060,
  kIdMenuDelete = 1061,
  // The status bar: panel 0 the progress and the logos' space, panel 1 the worker's text.
  kIdStatusBar = 1070,
  // The choice box ("Search other rates"): its text, beneath it the reason, and the
  // action's button beside OK (IDOK).
  kIdChoiceText = 1080,
  kIdChoiceReason = 1081,
  kIdChoiceAction = 1082,
};

}  // namespace printset::win32
