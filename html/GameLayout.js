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

// Shows one screen of the menu and hides the others; naming a part of a
// screen shows the screen that holds it.
function navigateTo(screen) {
  $('.Screen').hide();
  $('#' + screen).show().closest('.Screen').show();
}

// An in-page notice; pages never open the browser's own dialogs.
function locAlert(text) {
  $('#PageNoticeText').text(text);
  $('#PageNotice').show();
}

// Hides what the page draws over and around the board.
function hideBoardElements() {
  $('#boardContainer').children().not('#GameBoard').hide();
}

function hideBoardOverlays() {
  $('.BoardOverlay').hide();
}

$(function () {
  navigateTo('GamesListScreen');
});
