// The settings editor's QtTest suites.
#pragma once

#include <QObject>

#include "editor/tree_slots.h"

namespace drovik::test {

// The slot of row j of user u's block (0-based user).
constexpr int userSlot(int user, int j) {
  return editor::kFirstUserSlot + editor::kUserBlockSize * user + j;
}
// Rows of the user block: the group nodes.
enum UserRow {
  kUserRow = 0,
  kFrontRow = 1,
  kRearRow = 17,
  kCutRow = 33,
  kCommonRow = 42,
  k8630Row = 57,
  kEscpRow = 65
};

class TreeSlotsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void slotsMapToNodesByTheBlockFormula();
  void everyNodeHangsUnderAnEarlierParent();
  void pagesAndOffsetsAtTheBlockEdges();
};

class PropagationTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void clearingAnItemClearsOnlyAncestorsLeftEmpty();
  void tickingTheRootLeavesTheInterfaceTreeAlone();
  void clearingAUserClearsItsBlockAndAnEmptyRoot();
  void tickingAGroupTicksItsItemsOnly();
  void mouseOnTheBoxPropagatesAndKeysToggleOneBox();
};

class MarginStepsTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void marginSteps_data();
  void marginSteps();
  void secondsStopAtTheEnds();
  void boxesChangeOnlyThroughTheirSpinners();
};

class PageStoresTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void marginRefusalStopsTheUserPage();
  void marginTexts_data();
  void marginTexts();
  void switchTimeRules();
  void nameRules();
  void onlyChangedNamesAndAddressesAreFlagged();
  void addressOctetsOutsideAByteStopTheInterfacePage();
  void fillReadsCodesByItem();
  void unchangedPagesFlagNothing();
};

class SettingDialogTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void opensWithBoxesFromTheFlags();
  void selectionShowsThePageAtItsGroup();
  void scrollBarAndWheelMoveThePage();
  void okRunsEveryStoreAndStaysOpenOnFailure();
  void refusedSaveKeepsTheEditsAndFlagsAfreshOnRetry();
  void togglingBackAndForthFlagsNothing();
  void restoreDefaultsResetsTheSelectedPageOnly();
  void printerInfoRefillsAndAlwaysDiscardsTheScript();
  void userPagesAreBuiltWhenFirstShown();
  void screenReadersHearCaptionsNotValues();
};

class EditorEndToEndTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void changeSettingsWritesExactlyTheChangedKeys();
  void registrationSavesWhatTheDialogHolds();
  void saveFailureIsShown();
  void handEditedAddressIsShownAndRefusedByOk();
  void lockNeverObtainedKeepsTheDialogAndItsRetryWritesTheSameKeys();
  void cancelAfterAFailedSaveWritesNothing();
  void registrationWhoseSaveFailedCanBeRetried();
};

}  // namespace drovik::test
