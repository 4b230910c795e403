# The dialogs driven through window messages under Wine.
