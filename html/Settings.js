// The settings screen and the news panel. Each row reads its value from the
// program through cef.uiapp when the screen is drawn; a click changes the
// value through the program and draws the screen again. Texts are set as
// text, never as markup.

var cFirstTurnAPKey = 'Vellix_FirstTurnAP';

function settingsApp() { return (window.cef && window.cef.uiapp) ? window.cef.uiapp : null; }

function onOff(value) { return value === true ? 'on' : 'off'; }

// Draws the settings screen from the program's values.
function drawSettings() {
    var app = settingsApp();
    if (!app)
        return;
    $('#SoundSetting').text('Sound: ' + onOff(app.areSoundsEnabled()));
    $('#PartialUndoSetting').text('Partial undo: ' + onOff(app.checkPref('Vellix_PartialUndo')));
    $('#FirstTurnAPSetting')
        .text(app.formatByPrefValue('First turn action points: %d', cFirstTurnAPKey, 5));
    $('#MediumLayoutSetting')
        .toggle(app.allowLayoutSetting() === true)
        .text('Medium layout: ' + onOff(app.checkPref('Vellix_MediumLayout')));
}

function toggleSoundSetting() {
    var app = settingsApp();
    if (app)
        app.toggleSound();
    drawSettings();
}

function togglePrefSetting(key) {
    var app = settingsApp();
    if (app)
        app.togglePref(key);
    drawSettings();
}

// The first turn's action points run from 1 to 5 and round again.
function cycleFirstTurnAP() {
    var app = settingsApp();
    if (app)
        app.cyclePrefValue(cFirstTurnAPKey, 1, 5, 5);
    drawSettings();
}

// Draws the news panel: the news page, the unread count, the game guide.
function drawNews() {
    var app = settingsApp();
    if (!app)
        return;
    $('#NewsFrame').attr('src', app.getNewsURL());
    var unread = app.getNumUnreadNewsItems();
    $('#NewsUnread').text(unread > 0 ? unread + ' unread' : '');
}

function markNewsAsRead() {
    var app = settingsApp();
    if (app)
        app.markNewsRead();
    $('#NewsUnread').text('');
}

function openGameGuide() {
    var app = settingsApp();
    if (app)
        app.openExternalLink(app.getGameGuideURL());
}
