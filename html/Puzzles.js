// The tutorial and challenge menus. The program sends a category's entries
// (addMenuEntryWithArt) when the page asks for them (requestPuzzleList);
// pressing a category's entry opens it, pressing a puzzle's entry starts the
// puzzle on the board. Texts are set as text, never as markup.

function puzzlesApp() { return (window.cef && window.cef.uiapp) ? window.cef.uiapp : null; }

var puzzleCatalogueLoaded = false;
// The screen whose list receives the entries: 'Tutorials' or 'Challenges'.
var puzzleMenuScreen = 'Tutorials';

// Shows the tutorials' or the challenges' menu with the top category's
// entries.
function showPuzzleMenu(screen) {
  var uiapp = puzzlesApp();
  puzzleMenuScreen = screen;
  navigateTo(screen);
  if (!uiapp) return;
  if (!puzzleCatalogueLoaded) {
    uiapp.initPuzzles();
    puzzleCatalogueLoaded = true;
  }
  var category = screen === 'Challenges' ? uiapp.getPuzzleChallengeCategory()
                                         : uiapp.getPuzzleTutorialCategory();
  prepareForNewPuzzles('');
  uiapp.requestPuzzleList(category);
}

function puzzleMenuList() { return $('#' + puzzleMenuScreen + 'Screen .PuzzleEntries'); }

// A category's entries follow: the list empties and shows the category's
// name (none for the top category).
function prepareForNewPuzzles(name) {
  puzzleMenuList().empty();
  $('#' + puzzleMenuScreen + 'Screen .PuzzleCategoryName').text(name);
}

// The entry's look: its name, and the released image (the pressed one while
// pressed) when the layout has art. arts holds the pressed and released
// image names, or nothing.
function drawMenuEntry(entry, name, arts, onPress) {
  entry.empty().append($('<span class="PuzzleEntryName"></span>').text(name));
  entry.off('click mousedown mouseup mouseleave').on('click', function () {
    onPress();
    // A puzzle on the board can be left as a game is.
    if (/^NavPuzzleButton/.test(entry.attr('id')))
      $('#GameBackButton').show();
  });
  if (arts.length < 2) {
    entry.css('background-image', '');
    return;
  }
  var image = function (file) { return 'url("tarnwick://UI/' + encodeURI(file) + '")'; };
  entry.addClass('WithArt').css('background-image', image(arts[1]));
  entry.on('mousedown', function () { entry.css('background-image', image(arts[0])); });
  entry.on('mouseup mouseleave', function () { entry.css('background-image', image(arts[1])); });
}

// addMenuEntryWithArt(id, name, [pressed, released,] onPress)
function addMenuEntryWithArt(id, name) {
  var rest = Array.prototype.slice.call(arguments, 2);
  var onPress = rest.pop();
  var entry = $('<li class="PuzzleEntry"></li>').attr('id', id);
  drawMenuEntry(entry, name, rest, onPress);
  puzzleMenuList().append(entry);
}

// The same arguments; only an entry the menu shows changes.
function updateMenuEntryWithArt(id, name) {
  var rest = Array.prototype.slice.call(arguments, 2);
  var onPress = rest.pop();
  var entry = $('.PuzzleEntry').filter(function () { return this.id === id; });
  if (entry.length)
    drawMenuEntry(entry.first(), name, rest, onPress);
}

// The screen shows when somebody is logged in, else the login screen.
function loginMagic(screen) {
  var uiapp = puzzlesApp();
  navigateTo(uiapp && uiapp.isLoggedIn() ? screen : 'LoginScreen');
}

// The board shows and the first tutorial starts.
function startFirstTutorial() {
  var uiapp = puzzlesApp();
  hideBoardElements();
  $('#GameBoard').show();
  $('#GameBackButton').show();
  if (!uiapp) return;
  uiapp.showGameView();
  uiapp.launchFirstTutorial();
}
