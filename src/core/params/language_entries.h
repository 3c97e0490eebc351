// Names of the language entries the program reads, so that a search finds every use of a text.
#pragma once

#include "core/params/language.h"

namespace tablix::text {

// Refuses to compile a name that points past the entries every language file provides.
consteval int Entry(int n)
{
    return n >= 0 && n < kLanguageEntriesUsed ? n : throw "language entry outside the table";
}

inline constexpr int kLanguageName = Entry(0); // line 0 of the file; the chooser selects the file whose name equals it
inline constexpr int kMenuProject = Entry(1);
inline constexpr int kMenuSigns = Entry(2);
inline constexpr int kMenuSettings = Entry(3);
inline constexpr int kMenuOpenProject = Entry(4);
inline constexpr int kMenuSaveProject = Entry(5);
inline constexpr int kMenuEnd = Entry(6);
inline constexpr int kMenuParameterEditor = Entry(7);
inline constexpr int kMenuPriceLists = Entry(8);
inline constexpr int kMenuListPrices = Entry(9);
inline constexpr int kCurrency = Entry(10); // also the unit of a price percentage and of every summary value
inline constexpr int kMenuAssumptions = Entry(11);
inline constexpr int kMenuSignDialogs = Entry(12);
inline constexpr int kMenuExport = Entry(13);
inline constexpr int kMenuAbout = Entry(14);
inline constexpr int kMenuNewSign = Entry(15);
inline constexpr int kMenuParameters = Entry(16);
inline constexpr int kMenuConstruction = Entry(17);
inline constexpr int kLanguageChooser = Entry(18); // menu command and the chooser's window caption
inline constexpr int kOk = Entry(19);
inline constexpr int kCancel = Entry(20);
inline constexpr int kParameterEditorTitle = Entry(21); // also the price list's window caption
inline constexpr int kMarkupPercent1Label = Entry(22);
inline constexpr int kMarkupPercent2Label = Entry(23);
inline constexpr int kMarkupPercent3Label = Entry(24);
inline constexpr int kAreaLimitsHeading = Entry(25);
inline constexpr int kAreaSurchargesHeading = Entry(26);
inline constexpr int kCostItem1Label = Entry(27); // also the first line of the costItem3 and costItem4 labels
inline constexpr int kCostItem2Label = Entry(28);
inline constexpr int kCostItem7Label = Entry(29);
inline constexpr int kCostItem8Label = Entry(30);
inline constexpr int kCostItem9Label = Entry(31);
inline constexpr int kCostItem10Label = Entry(32);
inline constexpr int kCostItem1Unit = Entry(33); // also of costItem3 and costItem4
inline constexpr int kCostItem2Unit = Entry(34);
inline constexpr int kCostItem7Unit = Entry(35); // also of costItem5
inline constexpr int kCostItem8Unit = Entry(36);
inline constexpr int kCostItem9Unit = Entry(37); // also of costItem10
inline constexpr int kPriceBHeading = Entry(38);
inline constexpr int kPriceAHeading = Entry(39);
inline constexpr int kHeightHeading = Entry(40);
inline constexpr int kSignType1 = Entry(41); // also labels element row 0
inline constexpr int kSignType2 = Entry(42); // also labels element row 1
inline constexpr int kPostsRowType1 = Entry(43); // element row 2
inline constexpr int kPostsRowType2 = Entry(44); // element row 3
inline constexpr int kClosingProfile = Entry(45); // also sign type 3 and the label of element row 14
inline constexpr int kPanel1x13 = Entry(46); // element words of the panels, 1 strip x 1.3 cm ...; also label element rows 4..11
inline constexpr int kPanel2x13 = Entry(47);
inline constexpr int kPanel1x20 = Entry(48);
inline constexpr int kPanel2x20 = Entry(49);
inline constexpr int kPanel3x20 = Entry(50);
inline constexpr int kPanel1x25 = Entry(51);
inline constexpr int kPanel4x25 = Entry(52);
inline constexpr int kPanel1x50 = Entry(53);
inline constexpr int kFirstBandLabel = Entry(54);
inline constexpr int kLastBandLabel = Entry(55);
inline constexpr int kAboutTitle = Entry(56);
inline constexpr int kAssumptionsTitle = Entry(57);
inline constexpr int kWidthLabel = Entry(58);
inline constexpr int kQuantityLabel = Entry(59);
inline constexpr int kPricePercentLabel = Entry(60);
inline constexpr int kPostCountLabelType1 = Entry(61);
inline constexpr int kPostCountLabelType2 = Entry(62);
inline constexpr int kLengthUnit = Entry(63); // centimetres, in the dialogs
inline constexpr int kCountUnit = Entry(64);
inline constexpr int kConstructionTitle = Entry(65);
inline constexpr int kLowerMarksHeadingType2 = Entry(66);
inline constexpr int kLowerMarksHeadingType1 = Entry(67);
inline constexpr int kStackHeightLabel = Entry(68);
inline constexpr int kSwitchFamilyButton = Entry(69);
inline constexpr int kSpecificationButton = Entry(70);
inline constexpr int kCostButton = Entry(71);
inline constexpr int kElementChoiceTitle = Entry(72);
inline constexpr int kRemoveElement = Entry(73);
inline constexpr int kOtherInfill = Entry(74);
inline constexpr int kFamilyA = Entry(75);
inline constexpr int kFamilyB = Entry(76);
inline constexpr int kNoticeTitle = Entry(77);
inline constexpr int kFillRowsNotice = Entry(78); // then the element, the row count and kFillRowsNoticeEnd
inline constexpr int kFillRowsNoticeEnd = Entry(79);
inline constexpr int kEmptyRowsNotice = Entry(80);
inline constexpr int kInfillHeightLabel = Entry(81);
inline constexpr int kExtraCostLabel = Entry(82);
inline constexpr int kSwitchFamilyNotice = Entry(83);
inline constexpr int kCostReportTitle = Entry(84);
inline constexpr int kSpecificationReportTitle = Entry(85);
inline constexpr int kPrint = Entry(86);
inline constexpr int kTotalsSeparator = Entry(87);
inline constexpr int kCostTotal = Entry(88);
inline constexpr int kCostTotalWithSurcharge = Entry(89); // the summary reads the sign's value from this line
inline constexpr int kOrderTotal = Entry(90);
inline constexpr int kOrderTotalWithSurcharge = Entry(91); // the summary reads the order's value from this line
inline constexpr int kSignAreaLabel = Entry(92);
inline constexpr int kSquareMetreUnit = Entry(93);
inline constexpr int kAreaSurchargeLabel = Entry(94);
inline constexpr int kPercentUnit = Entry(95);
inline constexpr int kRunTotalLabel = Entry(96);
inline constexpr int kMetreUnit = Entry(97);
inline constexpr int kOrderLengthsHeading = Entry(98);
inline constexpr int kProfileLengthAType1 = Entry(99); // order lengths of the frame or side profiles
inline constexpr int kProfileLengthAType2 = Entry(100);
inline constexpr int kProfileLengthBType1 = Entry(101);
inline constexpr int kProfileLengthBType2 = Entry(102);
inline constexpr int kPostLabelA = Entry(103);
inline constexpr int kPostLabelAType2 = Entry(104);
inline constexpr int kPostLabelB = Entry(105);
inline constexpr int kPostLabelBType2 = Entry(106);
inline constexpr int kPostsCostAType1 = Entry(107);
inline constexpr int kPostsCostAType2 = Entry(108);
inline constexpr int kPostsCostBType1 = Entry(109);
inline constexpr int kPostsCostBType2 = Entry(110);
inline constexpr int kPiecesLabel = Entry(111); // cost line of the pieces, and the line before the cutting list
inline constexpr int kPiecesWord = Entry(112);
inline constexpr int kElementMaterialCost = Entry(113);
inline constexpr int kPiecesOf = Entry(114); // between a piece count and the piece length
inline constexpr int kCentimetreUnit = Entry(115);
inline constexpr int kEightFittingsCost = Entry(116);
inline constexpr int kFourFittingsCost = Entry(117);
inline constexpr int kFrameWidthCostAType1 = Entry(118);
inline constexpr int kFrameHeightCostAType1 = Entry(119);
inline constexpr int kFrameDimensionAType1 = Entry(120);
inline constexpr int kInfillPanelCost = Entry(121);
inline constexpr int kInfillDimension1 = Entry(122);
inline constexpr int kInfillDimension2 = Entry(123);
inline constexpr int kInfillDimension3 = Entry(124);
inline constexpr int kTwoPiecesCost = Entry(125);
inline constexpr int kClosingFittingCostType1 = Entry(126);
inline constexpr int kSecondClosingFittingCostType1 = Entry(127);
inline constexpr int kFrameWidthCostAType2 = Entry(128);
inline constexpr int kFrameHeightCostAType2 = Entry(129);
inline constexpr int kFrameDimensionAType2 = Entry(130);
inline constexpr int kClosingFittingCostType2 = Entry(131);
inline constexpr int kSecondClosingFittingCostType2 = Entry(132);
inline constexpr int kFrameWidthCostBType1 = Entry(133);
inline constexpr int kFrameHeightCostBType1 = Entry(134);
inline constexpr int kFrameDimensionBType1 = Entry(135);
inline constexpr int kFrameWidthCostBType2 = Entry(136);
inline constexpr int kFrameHeightCostBType2 = Entry(137);
inline constexpr int kFrameDimensionBType2 = Entry(138);
inline constexpr int kExtraCostLine = Entry(139);
inline constexpr int kMenuOptions = Entry(140);
inline constexpr int kSummaryAreaLabel = Entry(141);
inline constexpr int kMenuFont = Entry(142);
inline constexpr int kMenuPrinterSetup = Entry(143);
inline constexpr int kSummaryPiecesLabel = Entry(144);
inline constexpr int kSummaryTab = Entry(145);
inline constexpr int kDeleteSignNotice = Entry(146);
inline constexpr int kMenuCopySign = Entry(147);
inline constexpr int kMenuDeleteSign = Entry(148);
inline constexpr int kProjectFileFilter = Entry(149);
inline constexpr int kMenuNewProject = Entry(150);
inline constexpr int kNewProjectNotice = Entry(151);
inline constexpr int kUntitledSign = Entry(152); // followed by the sign number
inline constexpr int kSignTitle = Entry(153); // menu command and the title dialog's caption
inline constexpr int kAutomaticTitle = Entry(154);
inline constexpr int kMenuDrawing = Entry(155);
inline constexpr int kMenuShowDrawing = Entry(156);
inline constexpr int kMenuHideDrawing = Entry(157);
inline constexpr int kSummaryTotalLabel = Entry(158);
inline constexpr int kTooWideNotice = Entry(159);
inline constexpr int kListPricesHeader = Entry(160);
inline constexpr int kPercentPricesHeader = Entry(161);
inline constexpr int kPricePercentTitle = Entry(162);
inline constexpr int kExportScaleTitle = Entry(163);
inline constexpr int kExportScaleLabel = Entry(164);
inline constexpr int kExportFileFilter = Entry(165);
inline constexpr int kProfileLengthAType3 = Entry(166);
inline constexpr int kProfileLengthBType3 = Entry(167);
inline constexpr int kSideProfileCostAType3 = Entry(168);
inline constexpr int kSideProfileDimensionAType3 = Entry(169);
inline constexpr int kSideProfileCostBType3 = Entry(170);
inline constexpr int kSideProfileDimensionBType3 = Entry(171);
inline constexpr int kAboutComment = Entry(197);
inline constexpr int kPriceListPercentLabel = Entry(198);
inline constexpr int kRowMarksHeading = Entry(199);
inline constexpr int kClosingNotLastNotice = Entry(200); // followed by the row number
inline constexpr int kClosingNotAllowedNotice = Entry(201);
inline constexpr int kMarkedStripLabel = Entry(202); // costItem5 in the editor, and the marked-strip cost line
inline constexpr int kCostItem6Label = Entry(203);
inline constexpr int kCostItem6Unit = Entry(204);
inline constexpr int kCostItem3SecondLine = Entry(205);
inline constexpr int kCostItem4SecondLine = Entry(206);
inline constexpr int kGeneralValueLabel = Entry(207);
inline constexpr int kElementRow12 = Entry(208);
inline constexpr int kSignType4 = Entry(209); // also labels element row 13
inline constexpr int kSignType5 = Entry(210); // also labels element row 15
inline constexpr int kSpecialProfile1 = Entry(211); // element words of the special profiles; also label element rows 16..21
inline constexpr int kSpecialProfile2 = Entry(212);
inline constexpr int kSpecialProfile3 = Entry(213);
inline constexpr int kSpecialProfile4 = Entry(214);
inline constexpr int kSpecialProfile5 = Entry(215);
inline constexpr int kSpecialProfile6 = Entry(216);
inline constexpr int kCostItem11Label = Entry(217);
inline constexpr int kCostItem12Label = Entry(218);
inline constexpr int kCostItem13Label = Entry(219);
inline constexpr int kCostItem14Label = Entry(220);
inline constexpr int kCostItem15Label = Entry(221);
inline constexpr int kCostItem16Label = Entry(222);
inline constexpr int kCostItem11Unit = Entry(223); // also of costItem12..16
inline constexpr int kCostItem9UnitAt100 = Entry(224); // alternatives while the price list is fixed at 100 percent
inline constexpr int kPriceBHeadingAt100 = Entry(225);
inline constexpr int kPriceAHeadingAt100 = Entry(226);
inline constexpr int kCostItem11UnitAt100 = Entry(227);
inline constexpr int kSignType6 = Entry(228);
inline constexpr int kProfileLengthAType4 = Entry(229);
inline constexpr int kProfileLengthBType4 = Entry(230);
inline constexpr int kSecondProfileLengthAType4 = Entry(231);
inline constexpr int kSecondProfileLengthBType4 = Entry(232);
inline constexpr int kFixedProfile = Entry(233); // also labels element row 22

// 246-250: the currency setting and the parameter editor's refused values.
inline constexpr int kCurrencyLabel = Entry(246);
inline constexpr int kRefusedValue = Entry(247); // a message's first line; the field's name follows
inline constexpr int kMustBeGreaterThan = Entry(248); // followed by a blank and the limit
inline constexpr int kMustNotBeNegative = Entry(249);
inline constexpr int kUnusableCurrency = Entry(250);


// Entries 176..179: the assumptions dialog's refusals and the layout pictures' tooltips.
inline constexpr int kRefusedNotAboveZero = Entry(176); // after a field's label: its value must be above 0
inline constexpr int kRefusedNegative = Entry(177);     // after a field's label: its value may not be negative
inline constexpr int kClosedFrameLayout = Entry(178);   // tooltip of layouts 1 and 3, then a blank and the family word
inline constexpr int kSidePostsLayout = Entry(179);     // tooltip of layouts 2 and 4, then a blank and the family word
// Printing and the messages of failed commands (entries 189-196 and 234-238).
inline constexpr int kPrintFooterPage = Entry(189); // "%1" the page, "%2" the page count
inline constexpr int kPrintFooterDateFormat = Entry(190); // a QDate format: yyyy, MM, dd
inline constexpr int kPrintErrorCaption = Entry(191);
inline constexpr int kPrintNotStarted = Entry(192);
inline constexpr int kPrintNotFinished = Entry(193);
inline constexpr int kNothingWrittenNote = Entry(194); // after a failed save or export
inline constexpr int kExportWithoutSize = Entry(195);
inline constexpr int kParametersNotRead = Entry(196); // followed by the reason
inline constexpr int kParametersNotSaved = Entry(234); // followed by the reason
inline constexpr int kLanguageNotRead = Entry(235); // followed by the reason
// Entries 172..174: the core's note on special profiles, the element chooser's reason for the
// elements a special sign type cannot take, and the refusal of a damaged project.
inline constexpr int kSpecialProfilesNotPriced = Entry(172); // a report line of its own
inline constexpr int kOnlySpecialProfiles = Entry(173);      // tooltip of a greyed-out element
inline constexpr int kDamagedProject = Entry(174);           // %1 file, %2 sign, %3 field, %4 value
// mainwin: entries 181-187
inline constexpr int kSaveChangesQuestion = Entry(181); // the "Save changes?" question; "#" starts its second line
inline constexpr int kSaveButton = Entry(182);
inline constexpr int kDiscardButton = Entry(183);
inline constexpr int kReplaceFileQuestion = Entry(184); // "%1" is the file; "#" starts the second line
inline constexpr int kEmptySignHint = Entry(185);       // "%1" is the menu path to the sign's dialogs; "#" as above
inline constexpr int kMenuSaveProjectAs = Entry(186);
inline constexpr int kSaveFailedNote = Entry(187); // after the system's message when a save failed
// Entries 240-244: failed writes (242-244 unused).
inline constexpr int kNothingWrittenFileKept = Entry(240); // after the reason a write failed
inline constexpr int kMetafileTooLarge = Entry(241); // export scale or window too large for the metafile's coordinates
// Entries 263-265: what the program remembers between runs (266-277 are the workshop's, below).
inline constexpr int kMenuRecentProjects = Entry(263);
inline constexpr int kRecentProjectMissing = Entry(264); // "%1" is the file; "#" starts the second line
inline constexpr int kClearRecentProjects = Entry(265);
// Entries 279-290: the true-size drawings (285-290 unused).
inline constexpr int kEmfFileFilter = Entry(279); // "description|pattern", offered after the first pair of entry 165
inline constexpr int kSvgFileFilter = Entry(280);
inline constexpr int kPdfFileFilter = Entry(281);
inline constexpr int kDxfFileFilter = Entry(282);
inline constexpr int kDrawingScaleNote = Entry(283); // printed on a scaled-down PDF; "%1" the percentage
inline constexpr int kDrawingTooLarge = Entry(284);  // followed by the reason

// Entries 291-310: the cut list and the cutting plan.
inline constexpr int kCutListProfileHeader = Entry(291); // column headings of the cut list file
inline constexpr int kCutListLengthHeader = Entry(292);
inline constexpr int kCutListCountHeader = Entry(293);
inline constexpr int kCutListSignsHeader = Entry(294);
inline constexpr int kPlanTitle = Entry(295); // first line of the cutting plan report
inline constexpr int kPlanProfile = Entry(296); // before a profile's name
inline constexpr int kPlanStockBar = Entry(297); // stock bar length, cm
inline constexpr int kPlanKerf = Entry(298);
inline constexpr int kPlanTrim = Entry(299);
inline constexpr int kPlanPieces = Entry(300); // pieces to cut, followed by their count
inline constexpr int kPlanBarsToOrder = Entry(301);
inline constexpr int kPlanLowerBound = Entry(302);
inline constexpr int kPlanBoundReached = Entry(303); // after the bound: the plan is provably the fewest bars
inline constexpr int kPlanBoundNotReached = Entry(304);
inline constexpr int kPlanFirstFit = Entry(305); // bars first-fit decreasing would use
inline constexpr int kPlanWaste = Entry(306); // percent of the bought length not in a piece
inline constexpr int kPlanBar = Entry(307); // before a bar's number; the bar's cuts follow the tab
inline constexpr int kPlanOffcut = Entry(308); // after a bar's cuts, before the offcut length
inline constexpr int kPlanTooLong = Entry(309); // pieces longer than a stock bar
inline constexpr int kPlanNoSignInUse = Entry(310); // the plan of a project without signs in use
// quote: entries 311-329 (323-329 unused).
inline constexpr int kMenuQuotePdf = Entry(311);
inline constexpr int kQuoteHeading = Entry(312);      // "%1" the project's name
inline constexpr int kQuoteDateLine = Entry(313);     // "%1" the date, written with entry 190's format
inline constexpr int kQuoteSignColumn = Entry(314);
inline constexpr int kQuoteQuantityColumn = Entry(315);
inline constexpr int kQuotePiecePriceColumn = Entry(316);
inline constexpr int kQuoteLineTotalColumn = Entry(317);
inline constexpr int kQuoteSize = Entry(318);         // "%1" width, "%2" height, both in cm
inline constexpr int kQuoteProjectTotal = Entry(319);
inline constexpr int kQuoteNoSignInUse = Entry(320);
inline constexpr int kQuoteFileFilter = Entry(321);   // "Description|*.pdf"
inline constexpr int kQuoteUntitledProject = Entry(322);

// workshop: entries 323-329 and 266-278: the cut list file, the stock dialog, the plan window.
inline constexpr int kMenuCutListCsv = Entry(323);
inline constexpr int kMenuCuttingPlan = Entry(324);
inline constexpr int kMenuStockSettings = Entry(325);
inline constexpr int kCutListFileFilter = Entry(326); // "Description|*.csv"
inline constexpr int kCutListNoSignInUse = Entry(327);
inline constexpr int kStockDialogTitle = Entry(328);
inline constexpr int kStockDefaults = Entry(329); // heading of the defaults; also names them in entry 271
inline constexpr int kStockBarLength = Entry(266);
inline constexpr int kStockKerf = Entry(267);
inline constexpr int kStockTrim = Entry(268);
inline constexpr int kStockProfilesNote = Entry(269);
inline constexpr int kStockFileUnreadable = Entry(270); // "%1" the reason, naming the file; "#" starts the second line
inline constexpr int kStockValueRefused = Entry(271);   // "%1" the defaults or a profile, "%2" a reason of 272-273
inline constexpr int kStockBarLengthRange = Entry(272);  // "%1" the longest bar, cm
inline constexpr int kStockNothingLeft = Entry(273);
inline constexpr int kStockUseDefaults = Entry(274);
inline constexpr int kStockNoProfiles = Entry(275);
inline constexpr int kPlanStockUnreadable = Entry(276); // "%1" the reason; "#" starts the second line
inline constexpr int kCutListTooLarge = Entry(277);     // "%1" the most pieces a list may hold
inline constexpr int kStockUnknownProfiles = Entry(330); // "%1" the entries' names, one a line; "#" starts a line

// Entries 331-344: Qt's own windows, the caption, the SVG description, the decimal separator of the
// workshop's windows and the refusal of a file that is not a project.
inline constexpr int kQtLanguage = Entry(331);        // the language code of Qt's translation, "pl" loads qtbase_pl
inline constexpr int kMakerContactLine = Entry(332);  // the main window's caption after "TABLIX - "
inline constexpr int kSvgDescription = Entry(333);    // "%1" the version, "%2" the scale in percent
inline constexpr int kDecimalSeparator = Entry(334);  // its first character; the workshop's windows and printouts
inline constexpr int kNotAProject = Entry(335);       // "%1" the file, "%2" what it holds (336-339)
inline constexpr int kFileEmpty = Entry(336);
inline constexpr int kFileSize = Entry(337);          // "%1" bytes
inline constexpr int kFileBeginsLike = Entry(338);    // "%1" a kind of 340-344
inline constexpr int kProjectSize = Entry(339);       // "%1" bytes
inline constexpr int kKindImage = Entry(340);         // "%1" the format's name: PNG, JPEG ...
inline constexpr int kKindDocument = Entry(341);
inline constexpr int kKindArchive = Entry(342);
inline constexpr int kKindText = Entry(343);
inline constexpr int kKindProgram = Entry(344);

// undo and redo: entries 345-353; "%1" is the sign's title as its page shows it.
inline constexpr int kMenuEdit = Entry(345);
inline constexpr int kMenuUndo = Entry(346);
inline constexpr int kMenuRedo = Entry(347);
inline constexpr int kStepBasicData = Entry(348);
inline constexpr int kStepConstruction = Entry(349);
inline constexpr int kStepTitle = Entry(350);
inline constexpr int kStepNewSign = Entry(351);
inline constexpr int kStepCopySign = Entry(352);
inline constexpr int kStepDeleteSign = Entry(353);

// Entries 354-355: the chooser's note on texts missing from a language file, and a value above a
// field's limit.
inline constexpr int kLanguageEntriesMissing = Entry(354); // the chooser: "%1" entries missing of "%2", shown in English
inline constexpr int kRefusedAboveLimit = Entry(355);      // after a field's label: "%1" the largest value allowed

inline constexpr int kPlanInterrupted = Entry(278);     // under the plan's title when Cancel stopped the search


// The quote's shop and customer details, its sums and the notes of signs left out or rounded: 356-407.
inline constexpr int kMenuShopDetails = Entry(356);
inline constexpr int kShopDetailsTitle = Entry(357);
inline constexpr int kShopName = Entry(358);
inline constexpr int kShopAddress = Entry(359);
inline constexpr int kShopPhone = Entry(360);
inline constexpr int kShopEmail = Entry(361);
inline constexpr int kShopWeb = Entry(362);
inline constexpr int kShopTaxNumber = Entry(363);
inline constexpr int kShopBankAccount = Entry(364);
inline constexpr int kShopLogo = Entry(365);
inline constexpr int kShopTaxRate = Entry(366);
inline constexpr int kShopPricesGross = Entry(367);
inline constexpr int kShopNumberPattern = Entry(368);
inline constexpr int kShopNextNumber = Entry(369);
inline constexpr int kShopValidityDays = Entry(370);
inline constexpr int kShopTerms = Entry(371);
inline constexpr int kShopLogoChoose = Entry(372);
inline constexpr int kShopLogoRemove = Entry(373);
inline constexpr int kShopLogoFileFilter = Entry(374); // "Description|*.png *.svg"
inline constexpr int kRefusedEmail = Entry(375); // after a field's label
inline constexpr int kRefusedTaxRate = Entry(376); // after a field's label
inline constexpr int kRefusedWholeNumber = Entry(377); // after a field's label: "%1" the least, "%2" the largest
inline constexpr int kRefusedNumberPattern = Entry(378); // after a field's label
inline constexpr int kRefusedText = Entry(379); // after a field's label
inline constexpr int kRefusedLogo = Entry(380); // after a field's label: "%1" the largest size
inline constexpr int kQuoteDetailsTitle = Entry(381);
inline constexpr int kQuoteCustomerName = Entry(382);
inline constexpr int kQuoteCustomerAddress = Entry(383);
inline constexpr int kQuoteNumber = Entry(384);
inline constexpr int kQuoteDate = Entry(385);
inline constexpr int kQuoteValidUntil = Entry(386);
inline constexpr int kQuoteReference = Entry(387);
inline constexpr int kQuoteNotes = Entry(388);
inline constexpr int kQuoteNoShopHint = Entry(389);
inline constexpr int kQuoteDetailsUnreadable = Entry(390); // "%1" the file, "%2" the reason
inline constexpr int kQuoteTitleNumber = Entry(391); // "%1" the quote's number
inline constexpr int kQuoteValidUntilLine = Entry(392); // "%1" the date
inline constexpr int kQuoteReferenceLine = Entry(393);
inline constexpr int kQuoteNetTotal = Entry(394);
inline constexpr int kQuoteTaxLine = Entry(395); // "%1" the rate
inline constexpr int kQuoteGrossTotal = Entry(396);
inline constexpr int kQuoteLeftOut = Entry(397); // "%1" the sign, "%2" its quantity
inline constexpr int kQuoteRoundedUp = Entry(398); // "%1" the quantity, "%2" the pieces
inline constexpr int kQuoteNotPriced = Entry(399); // "%1" the sign
inline constexpr int kGroupSeparator = Entry(400); // a thousand as amounts write it: "1,000", "1 000"; "1000" groups nothing
inline constexpr int kQuoteTaxNumberLine = Entry(401);
inline constexpr int kQuoteBankLine = Entry(402);
inline constexpr int kQuoteSubject = Entry(403); // the PDF's subject: "%1" the customer or the project
inline constexpr int kQuotePricesIncludeTax = Entry(404);
inline constexpr int kCutListLeftOut = Entry(405); // "%1" the sign, "%2" its quantity
inline constexpr int kCutListRoundedUp = Entry(406); // "%1" the sign, "%2" its quantity
inline constexpr int kRefusedDateBefore = Entry(407); // after a field's label
// The drawn cutting plan and the piece labels.
inline constexpr int kPlanDiagrams = Entry(408);        // the plan window's tab of bar diagrams
inline constexpr int kPlanText = Entry(409);            // its tab of the text report
inline constexpr int kZoomIn = Entry(410);
inline constexpr int kZoomOut = Entry(411);
inline constexpr int kFitWidth = Entry(412);
inline constexpr int kMenuPieceLabels = Entry(413);
inline constexpr int kPlanProvenOptimal = Entry(414);
inline constexpr int kPlanNotProvenOptimal = Entry(415); // "%1" the lower bound in bars
inline constexpr int kPlanOffcutWord = Entry(416);      // beside an offcut's length in a diagram
inline constexpr int kLabelBarAndCut = Entry(417);      // "%1" the bar, "%2" the cut in the bar's saw order
inline constexpr int kLabelSheet = Entry(418);
inline constexpr int kLabelSheet3x8 = Entry(419);
inline constexpr int kLabelSheet2x7 = Entry(420);
inline constexpr int kLabelFileFilter = Entry(421);     // "Description|*.pdf"

} // namespace tablix::text
