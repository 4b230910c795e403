# Registry key access.
