#pragma once
// Identifiers of the message texts in the program's string table. The general
// package's texts are 16000..16238, the design-time package's 15000..15244; the
// texts themselves are registered by the runtime library (LoadStr).
#include <string>

#include "host/rtl/SysUtils.h"

namespace kel {

constexpr int SkelGeneralFirst = 16000;
constexpr int SkelGeneralLast = 16238;
constexpr int SkelDesignFirst = 15000;
constexpr int SkelDesignLast = 15244;

// Navigation buttons and the index combo.
constexpr int SkelCommitTrans = 16000;
constexpr int SkelRollbackTrans = 16001;
constexpr int SkelInvalidMenuStrings = 16002;
constexpr int SkelPrimaryKey = 16003;
constexpr int SkelIndexItemNoSemicolon = 16004;
constexpr int SkelIndexItemNoText = 16005;
constexpr int SkelIndexItemNoNumber = 16006;
constexpr int SkelTTableRequired = 16007;
constexpr int SkelIndexNumberNotFound = 16008;

// Open and save dialog filters of the graphic editor.
constexpr int SkelBitmapFilter = 16009;
constexpr int SkelIconFilter = 16010;
constexpr int SkelMetafileFilter = 16011;
constexpr int SkelEnhMetafileFilter = 16012;
constexpr int SkelAllFilesFilter = 16013;

// Find-key, range and query-parameter dialogs.
constexpr int SkelTableParamNil = 16014;
constexpr int SkelNoIndexFields = 16015;
constexpr int SkelTableNotActive = 16016;
constexpr int SkelQueryParamNil = 16017;
constexpr int SkelNoQueryParams = 16018;

constexpr int SkelReadOnlyReplace = 16019;
constexpr int SkelFieldNotModifiable = 16020;
constexpr int SkelKeyStringsCount = 16021;
constexpr int SkelKeyStringsLength = 16022;

// Record filter and the filter expression language.
constexpr int SkelDataSourceRequired = 16023;
constexpr int SkelDataSetRequired = 16024;
constexpr int SkelDataSetNotActive = 16025;
constexpr int SkelFilterInvalidHandle = 16026;
constexpr int SkelFilterEmpty = 16027;
constexpr int SkelFilterTerminated = 16028;
constexpr int SkelFilterUntermField = 16029;
constexpr int SkelFilterUntermString = 16030;
constexpr int SkelFilterInvalidChar = 16031;
constexpr int SkelFilterRParenExpected = 16032;
constexpr int SkelFilterExprExpected = 16033;
constexpr int SkelFilterRelOpOperands = 16034;
constexpr int SkelFilterFieldNotAllowed = 16035;
constexpr int SkelFilterNullOperator = 16036;
constexpr int SkelFilterConstRange = 16037;
constexpr int SkelFilterNotBoolean = 16038;
constexpr int SkelFilterIncorrect = 16039;
constexpr int SkelFilterTooComplex = 16040;

// Wave sounds, resources and multimedia.
constexpr int SkelWaveReadError = 16041;
constexpr int SkelWaveInvalidFormat = 16042;
constexpr int SkelDLLLoadError = 16043;
constexpr int SkelResNotFound = 16044;
constexpr int SkelResLoadError = 16045;
constexpr int SkelResLockError = 16046;
constexpr int SkelFormNameExpected = 16047;
constexpr int SkelNoMCIData = 16048;

// Directory dialog (path, line break, line break).
constexpr int SkelPathNotExist = 16049;
constexpr int SkelPathExists = 16050;
constexpr int SkelPathCreatePrompt = 16051;
constexpr int SkelPathUsePrompt = 16052;
constexpr int SkelDriveNotExist = 16053;
constexpr int SkelInvalidFileName = 16054;

constexpr int SkelInvalidPaneIndex = 16055;

// Find and replace.
constexpr int SkelFirstRecordReached = 16100;
constexpr int SkelLastRecordReached = 16101;
constexpr int SkelTextNotFound = 16102;
constexpr int SkelTextNotFoundInField = 16103;
constexpr int SkelValuesReplaced = 16104;

// Number words. Digit, teen, tens and scale words are found by adding to the
// base: SkelNumDigits + 7 is "seven", SkelNumScales + 2 is "million".
constexpr int SkelNumInvalidAmount = 16190;
constexpr int SkelNumAmountTooLarge = 16191;
constexpr int SkelNumDigits = 16200;
constexpr int SkelNumTeens = 16210;
constexpr int SkelNumTens = 16220;
constexpr int SkelNumScales = 16230;
constexpr int SkelNumAnd = 16235;
constexpr int SkelNumHundred = 16236;
constexpr int SkelNumError = 16237;
constexpr int SkelNullValue = 16238;

// Design time: default captions and hints of the navigation panel wizard.
constexpr int SkelDsnNoCaption = 15000;
constexpr int SkelDsnCapFirst = 15001;
constexpr int SkelDsnCapJumpBack = 15002;
constexpr int SkelDsnCapPrev = 15003;
constexpr int SkelDsnCapNext = 15004;
constexpr int SkelDsnCapJumpFwd = 15005;
constexpr int SkelDsnCapLast = 15006;
constexpr int SkelDsnCapInsert = 15007;
constexpr int SkelDsnCapAppend = 15008;
constexpr int SkelDsnCapDuplicateRec = 15009;
constexpr int SkelDsnCapEdit = 15010;
constexpr int SkelDsnCapDataSourceEdit = 15011;
constexpr int SkelDsnCapBlobEdit = 15012;
constexpr int SkelDsnCapFindReplace = 15013;
constexpr int SkelDsnCapDelete = 15014;
constexpr int SkelDsnCapCancel = 15015;
constexpr int SkelDsnCapPost = 15016;
constexpr int SkelDsnCapRefresh = 15017;
constexpr int SkelDsnCapEmptyTable = 15018;
constexpr int SkelDsnCapBookmark = 15019;
constexpr int SkelDsnCapBookmarkMenu = 15020;
constexpr int SkelDsnCapFindKey = 15021;
constexpr int SkelDsnCapRange = 15022;
constexpr int SkelDsnCapFilterActive = 15023;
constexpr int SkelDsnCapFilterExpression = 15024;
constexpr int SkelDsnCapSQLStartTrans = 15025;
constexpr int SkelDsnCapSQLCommit = 15026;
constexpr int SkelDsnCapSQLRollback = 15027;
constexpr int SkelDsnCapQueryParams = 15028;
constexpr int SkelDsnCapDBInfo = 15029;
constexpr int SkelDsnCapCustom = 15030;
constexpr int SkelDsnCapToggle = 15031;

constexpr int SkelDsnNoHint = 15050;
constexpr int SkelDsnHintFirst = 15052;
constexpr int SkelDsnHintJumpBack = 15053;
constexpr int SkelDsnHintPrev = 15054;
constexpr int SkelDsnHintNext = 15055;
constexpr int SkelDsnHintJumpFwd = 15056;
constexpr int SkelDsnHintLast = 15057;
constexpr int SkelDsnHintInsert = 15058;
constexpr int SkelDsnHintAppend = 15059;
constexpr int SkelDsnHintDuplicateRec = 15060;
constexpr int SkelDsnHintEdit = 15061;
constexpr int SkelDsnHintDataSourceEdit = 15062;
constexpr int SkelDsnHintBlobEdit = 15063;
constexpr int SkelDsnHintFindReplace = 15064;
constexpr int SkelDsnHintDelete = 15065;
constexpr int SkelDsnHintCancel = 15066;
constexpr int SkelDsnHintPost = 15067;
constexpr int SkelDsnHintRefresh = 15068;
constexpr int SkelDsnHintEmptyTable = 15069;
constexpr int SkelDsnHintBookmark = 15070;
constexpr int SkelDsnHintBookmarkDown = 15071;
constexpr int SkelDsnHintBookmarkMenu = 15072;
constexpr int SkelDsnHintFindKey = 15073;
constexpr int SkelDsnHintIndexCombo = 15074;
constexpr int SkelDsnHintRange = 15075;
constexpr int SkelDsnHintRangeEdit = 15076;
constexpr int SkelDsnHintFilterActive = 15077;
constexpr int SkelDsnHintFilterActiveDown = 15078;
constexpr int SkelDsnHintFilterExpression = 15079;
constexpr int SkelDsnHintFilterExpressionDown = 15080;
constexpr int SkelDsnHintSQLStartTrans = 15081;
constexpr int SkelDsnHintSQLCommit = 15082;
constexpr int SkelDsnHintSQLRollback = 15083;
constexpr int SkelDsnHintQueryParams = 15084;
constexpr int SkelDsnHintDBInfo = 15085;
constexpr int SkelDsnHintCustom = 15086;
constexpr int SkelDsnNoHintDown = 15087;
constexpr int SkelDsnHintToggle = 15088;
constexpr int SkelDsnHintToggleDown = 15089;

// Wizard page hints: panel wizard pages 0..5, button wizard pages 0..3.
constexpr int SkelDsnPageButtons = 15100;
constexpr int SkelDsnPageGlyphs = 15101;
constexpr int SkelDsnPageHints = 15102;
constexpr int SkelDsnPageCaptions = 15103;
constexpr int SkelDsnPageCaptionStyle = 15104;
constexpr int SkelDsnPageButtonSize = 15105;
constexpr int SkelDsnBtnPageGlyphs = 15106;
constexpr int SkelDsnBtnPageCaptionStyle = 15107;
constexpr int SkelDsnBtnPageButtonSize = 15108;
constexpr int SkelDsnBtnPageCaptionHint = 15109;

// Component editor verbs and messages.
constexpr int SkelDsnEditFilter = 15150;
constexpr int SkelDsnLoadIndexItems = 15151;
constexpr int SkelDsnAddNavButtons = 15152;
constexpr int SkelDsnDeleteAllButtons = 15153;
constexpr int SkelDsnDeleteAllConfirm = 15154;
constexpr int SkelDsnEditButtonStyle = 15155;
constexpr int SkelDsnEditLineStyle = 15156;
constexpr int SkelDsnIndexesAdded = 15157;
constexpr int SkelDsnNoIndexes = 15158;

// Wizard outline: group names, and the list name of table row i at
// SkelDsnListNames + i.
constexpr int SkelDsnGroupNavigate = 15200;
constexpr int SkelDsnGroupEdit = 15201;
constexpr int SkelDsnGroupMarkLocate = 15202;
constexpr int SkelDsnGroupSortFilter = 15203;
constexpr int SkelDsnGroupTransactions = 15204;
constexpr int SkelDsnGroupOther = 15205;
constexpr int SkelDsnListNames = 15210;

// The text of Ident with Args formatted into it.
std::string kelFmtLoadStr(int Ident, host::TVarRecs Args);

} // namespace kel
