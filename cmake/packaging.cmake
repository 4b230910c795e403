# Packing the programs for users.
