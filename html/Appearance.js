// The appearance screen: the player's home and away colours, the avatar
// packs and the avatar's colour layer. Each choice goes to the program,
// which stores it and tells the service.

function appearanceApp() { return (window.cef && window.cef.uiapp) ? window.cef.uiapp : null; }

// The packs offered, in order.
var cAvatarPacks = ['AVATAR_COUNCIL_FREE', 'AVATAR_TRIBE_FREE', 'AVATAR_WANDERERS'];

function imageUrl(path) { return 'tarnwick://data/' + encodeURI(path); }

// One list of colour swatches; the player's colour is marked.
function drawColorSwatches(list, home) {
  var uiapp = appearanceApp();
  list.empty();
  var chosen = uiapp.getPlayerColor(home);
  for (var i = 0;; ++i) {
    var color = uiapp.getColorString(home, i);
    if (color === undefined) break;
    var swatch = $('<li class="ColorSwatch"></li>')
        .css('background-color', String(color).replace(/;$/, ''))
        .toggleClass('Selected', i === chosen);
    swatch.on('click', (function (index) {
      return function () {
        appearanceApp().selectPlayerColor(home, index);
        drawAppearance();
      };
    })(i));
    list.append(swatch);
  }
}

// Draws the whole screen from the program's values.
function drawAppearance() {
  var uiapp = appearanceApp();
  if (!uiapp) return;
  drawColorSwatches($('#HomeColors'), true);
  drawColorSwatches($('#AwayColors'), false);
  $('#LocalAvatar').attr('src', imageUrl(uiapp.getLocalAvatar()));
  $('#AvatarColorSetting').text('Colour layer: ' + (uiapp.getAvatarColorize() ? 'on' : 'off'));
  $('#AvatarPacks').empty();
  var next = 0;
  cAvatarPacks.forEach(function (pack) {
    var after = uiapp.addAvatarsForPack(pack, next);
    if (after !== undefined) next = after;
  });
}

// The program's entry of one avatar: its place in the screen's list, its
// pack and index there, its image and colour layer, and the home colour.
function addAvatarPackEntry(index, packId, packIndex, image, colorImage, homeColor) {
  var uiapp = appearanceApp();
  var entry = $('<li class="AvatarEntry"></li>').attr('data-index', index)
      .toggleClass('Selected', uiapp !== null && uiapp.getLocalAvatar() === image);
  entry.append($('<img>').attr('src', imageUrl(image)));
  entry.on('click', function () {
    if (uiapp) uiapp.selectAvatar(packId, packIndex);
    drawAppearance();
  });
  $('#AvatarPacks').append(entry);
}

function toggleAvatarColor() {
  var uiapp = appearanceApp();
  if (uiapp) uiapp.togglePref('Vellix_AvatarColor');
  drawAppearance();
}
