AB
CD