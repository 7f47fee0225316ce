// The QtTest suites of the send and retrieval dialogs.
#pragma once

#include <QObject>

namespace drovik::test {

class SendDialogTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void preselectsOnlyTheExactRememberedPrinter();
  void sendsTheWholeImageOnceAfterConfirmation();
  void spoolerFailureIsSaidAndTheDialogStays();
  void spooledJobsAreSaidAsPrintedOrQueued();
  void unlistablePrintersAreExplained();
  void otherRoutesCloseTheDialogOnlyAfterASend();
  void enterSendsNothingAndClosesNothing();
  void everyControlIsNamed();
  // The printer list comes from a worker (send_dialog_loading_test.cpp).
  void dialogIsUsableWhileThePrintersAreListed();
  void closingWhileListingLeavesTheListingBehind();
};

class SendOtherDialogTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void networkAddressIsRememberedEvenWhenRefused();
  void rememberedAddressOutsideAByteIsShownAndNeverSent();
  void addressIsRememberedOnceAnotherCopyReleasesTheLock();
  void routeOutcomeDecidesWhetherTheDialogCloses();
  void slowSendIsWaitedForBehindTheWaitBox();
};

class RetrievalDialogTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void retrievedImagesAreDecodedAndEveryWarningShown();
  void failedRetrievalKeepsTheDialogAndTheProfile();
  void enterRunsTheRetrievalAndEmptyAddressIsRefused();
  void rememberedAddressOutsideAByteIsShownAndNeverAsked();
};

// The IP-address field of the send, retrieval and settings dialogs.
class Ipv4EditTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void boxesAreNamedAfterTheField();
  void digitsAndDotsMoveThroughTheBoxes();
  void anOctetAbove255BecomesItWithAMessage();
  void pastingAbove255IsCorrectedAndOtherTextRefused();
  void storedOctetsAreShownAsTheyAre();
};

}  // namespace drovik::test
