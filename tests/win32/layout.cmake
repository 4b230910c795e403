# The resizable login dialog under Wine.
