// Page functions the program calls (statements run in this page), and the
// page's own behaviour. The program reaches the page only through these.

// Places a panel: pixels from the page's top-left corner.
function positionElement(id, left, top, width, height) {
  $('#' + id).css({ position: 'absolute', left: left + 'px', top: top + 'px',
                    width: width + 'px', height: height + 'px' });
}

// The board's size inside its container.
function setBoardSize(width, height) {
  $('#GameBoard').css({ width: width + 'px', height: height + 'px' });
}

// Shows one screen of the menu and hides the others. The program names a
// screen without its "Screen" ending ('GamesList'); both forms are taken,
// and naming a part of a screen shows the screen that holds it.
function navigateTo(screen) {
  var target = $('#' + screen + 'Screen');
  if (!target.length) target = $('#' + screen);
  $('.Screen').hide();
  target.show().closest('.Screen').show();
}

// An in-page notice; pages never open the browser's own dialogs.
// The page's texts for the keys native code passes to locAlert; any other
// text shows as it is.
var kNoticeTexts = {
  ProgressHUDTimeout: 'The server did not answer in time. Please try again.',
  ProtocolVersionOld: 'This version of Tarnwick is too old for the server. Please update it.',
  SteamFriendNotPlayingTW: 'That friend does not play Tarnwick yet.'
};

function locAlert(text) {
  $('#PageNoticeText').text(kNoticeTexts.hasOwnProperty(text) ? kNoticeTexts[text] : text);
  $('#PageNotice').show();
}

// Hides what the page draws over and around the board.
function hideBoardElements() {
  $('#boardContainer').children().not('#GameBoard').hide();
}

function hideBoardOverlays() {
  $('.BoardOverlay').hide();
}

// Nobody is logged in when the page loads.
$(function () {
  navigateTo('LoginScreen');
});
