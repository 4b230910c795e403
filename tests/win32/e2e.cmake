# The real program under Wine, from end to end.
