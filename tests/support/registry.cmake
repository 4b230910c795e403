# Tests of registry key access.
