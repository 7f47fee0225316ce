// The QtTest suites of the desktop program; each test builds its own window and data folder.
#pragma once

#include <QObject>

namespace drovik::test {

class RegistrationTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void registersDefaultsAndSelectsTheNewRow();
  void editorValuesAreSavedAndItsCancelWritesNothing();
  void everyStopBeforeTheSaveWritesNothing();
  void overwriteMatchesTheNameAsTheFilesDo();
  void limitIsCheckedBeforeAnyDialog();
  void nameDialogStaysOpenUntilTheNameIsStorable();
  void failedSaveIsShownAndTheListStaysTrue();
};

class MainWindowTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void startsEmptyWithoutProfileFiles();
  void buttonsFollowTheSelectedRowsModel();
  void changeIsOfferedOnlyWithAnEditor();
  void doubleClickEditsAnMRowAndSavesOnOk();
  void deletionCompactsTheIndexAndKeepsOtherSections();
  void deletingAProfileGoneMeanwhileSaysSo();
  void aboutItemOpensTheAboutBox();
};

class CommandFileTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void savesTheImageOfEachModel();
  void overwritesWholeFileAndCancelWritesNothing();
  void refusedWriteIsShownAndLeavesTheOldFile();
  void sendPreparesTheCommandForTheSender();
};

class MigrationTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void newNameGetsAnMCopyAndTheReportOfTheSource();
  void ontoItselfTurnsTheProfileIntoM();
  void ontoAnotherProfileReplacesItsSection();
  void declinedOverwriteShowsNoReportAndWritesNothing();
  void cancelledNameStillShowsTheReport();
  void settingsListUsesTheLayoutOfTheModel();
};

class CompareTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void menuItemComparesTheSelectedRowWithTheNext();
  void eitherChoiceRefreshesTheTable();
  void unreadableChoiceIsSaidAndShowsNoRows();
  void itemNamesShowWholeBesideTheValues();
};

class HistoryWindowTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void menuItemListsTheRecordsNewestFirst();
  void filtersNarrowTheListAndAllRestoresIt();
  void damagedLinesAreNotedUnderTheTable();
  void unwritableHistoryIsSaidOnceAndTheRegistrationStands();
};

class StaleSelectionTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void sendGivesTheChosenProfilesCommand();
  void generateWritesTheChosenProfilesCommand();
  void settingsListShowsTheChosenProfile();
  void changeEditsAndSavesTheChosenProfile();
  void migrateCopiesTheChosenProfile();
  void deleteRemovesTheChosenProfile();
  void comparisonStartsFromTheChosenProfile();
};

class ListRefreshTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void listFollowsAnotherProgramKeepingTheSelection();
  void changeUnderAnOpenDialogIsShownWhenItCloses();
  void deletionWaitsForAnotherProgramsLock();
};

class LaunchTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void findsOrMissesTheDisplay();
  void helpNeedsNoDisplay();
  void optionsNameTheFolderAndHowItOpens();
  void programEndWaitsForItsBackgroundWork();
};

class ReadOnlyFolderTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void menuOpensAnArchiveOnlyToLook();
  void folderWithoutProfilesIsSaidAndNotOpened();
  void applicationOpensTheCommandLinesFolder();
};

}  // namespace drovik::test
