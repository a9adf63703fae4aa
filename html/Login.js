// The login screen: the page functions the program calls around a login,
// and the form's buttons, which call the program through cef.uiapp.

function app() {
  return (window.cef && window.cef.uiapp) ? window.cef.uiapp : null;
}

function prepLocText() {}

function setUsername(name) { $('#account').val(name); }

function setPassword(password) { $('#password').val(password); }

// The page is ready: the login screen shows (firstTime: 1 for a new player).
function loadingFinished(firstTime) {
  $('#LoginMessage').text(firstTime ? 'Welcome! Log in or create an account.' : '');
  navigateTo('LoginScreen');
}

function loginSuccess() {
  var uiapp = app();
  $('#LoggedInName').text(uiapp ? uiapp.getCurrentUserNickname() : '');
  $('#LoginMessage').text('');
  $('#NavButtons').addClass('LoggedIn');
  navigateTo('GamesListScreen');
}

function loginFailed(code) {
  $('#NavButtons').removeClass('LoggedIn');
  $('#LoginMessage').text(code === 1 ? 'Wrong user name or password.'
                                     : 'Login failed (' + code + ').');
  navigateTo('LoginScreen');
}

function logoutSuccess() {
  $('#NavButtons').removeClass('LoggedIn');
  navigateTo('LoginScreen');
}

function logoutFailed() { locAlert('Logout failed.'); }

// The form's buttons.
function doLogin() {
  var uiapp = app();
  if (uiapp) uiapp.loginButton($('#account').val(), $('#password').val());
}

function doCreateAccount() {
  var uiapp = app();
  if (!uiapp) return;
  var code = uiapp.createAccount($('#NewEmail').val(), $('#NewNickname').val(),
                                 $('#NewPassword').val());
  if (code !== undefined && code !== 0)
    $('#CreateMessage').text('The account was not created (' + code + ').');
}

function doResetPassword() {
  var uiapp = app();
  if (uiapp) uiapp.resetPassword($('#account').val());
  $('#LoginMessage').text('If the account exists, a reset mail is on its way.');
}

function doLogout() {
  var uiapp = app();
  if (uiapp) uiapp.logoutButton('', '');
}

// On load the page asks for the game data, tries the stored key, and lets
// the splash go.
$(function () {
  var uiapp = app();
  if (!uiapp) return;
  uiapp.prepLaunch();
  uiapp.autoLogin();
  uiapp.closeSplashScreen();
});
