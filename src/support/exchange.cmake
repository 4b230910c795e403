# The request exchange over TCP and its socket layer.
