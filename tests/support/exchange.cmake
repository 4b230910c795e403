# Tests of the request exchange over TCP.
