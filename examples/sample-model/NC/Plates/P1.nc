NC program Plates-1: plate P1, 20 x 300 x 400
